#include "card/TripData.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/VrecMoveManagerInfo.h"
#include "recording/FileUtil.h"

#include <QStringList>

#include <algorithm>

std::shared_ptr<TripData> TripData::create(CardData *parent, const QList<QUrl> &paths, const QString &name)
{
    auto trip = std::make_shared<TripData>(Token{}, parent, name);
    trip->setChapters(paths);
    return trip;
}

TripData::TripData(Token, CardData *parent, QString name) : _parent(parent), _tripName(std::move(name)) {}

void TripData::setChapters(const QList<QUrl> &paths)
{
    // Chapters link their management records at creation; build them outside the lock.
    ChapterList chapters;
    chapters.reserve(paths.size());
    const auto self = shared_from_this();
    for (const auto &path : paths) {
        // Records are matched by the trip's name, not by a key read from the file's own name; of
        // several records of one file the last in list order is linked.
        ChapterData::Records records;
        if (_parent) {
            const int32_t number = FileUtil::getFileNumber(path.fileName());
            records = {_parent->findVrecRecord(_tripName, number), _parent->findAdvRecord(_tripName, number)};
        }
        chapters.push_back(std::make_shared<ChapterData>(path, self, std::move(records)));
    }
    std::lock_guard lock(_mutex);
    _chapterDataList = std::move(chapters);
    _isSort = false;
    _indexByAddress.clear();
}

void TripData::dispose()
{
    ChapterList released;
    {
        std::lock_guard lock(_mutex);
        sortLocked();
        released.swap(_chapterDataList);
        _indexByAddress.clear();
    }
    // Chapters die outside the lock: a chapter's destructor may touch its picture data.
}

void TripData::sortLocked()
{
    if (!_isSort && _chapterDataList.size() > 1) {
        ChapterData::sortByStartTime(_chapterDataList);
        _isSort = true;
        _indexByAddress.clear();
    }
}

ChapterList TripData::sortedChapters()
{
    std::lock_guard lock(_mutex);
    sortLocked();
    return _chapterDataList;
}

std::shared_ptr<ChapterData> TripData::sortedChapter(size_t index)
{
    std::lock_guard lock(_mutex);
    sortLocked();
    return index < _chapterDataList.size() ? _chapterDataList[index] : nullptr;
}

ChapterList TripData::chapters() const
{
    std::lock_guard lock(_mutex);
    return _chapterDataList;
}

std::shared_ptr<ChapterData> TripData::firstChapter()
{
    std::lock_guard lock(_mutex);
    sortLocked();
    return _chapterDataList.empty() ? nullptr : _chapterDataList.front();
}

size_t TripData::chapterCount() const
{
    std::lock_guard lock(_mutex);
    return _chapterDataList.size();
}

bool TripData::isSort() const
{
    std::lock_guard lock(_mutex);
    return _isSort;
}

std::optional<size_t> TripData::indexLocked(const ChapterData *chapter)
{
    if (_indexByAddress.size() != _chapterDataList.size()) {
        _indexByAddress.clear();
        _indexByAddress.reserve(_chapterDataList.size());
        for (size_t i = 0; i < _chapterDataList.size(); ++i)
            _indexByAddress.emplace_back(_chapterDataList[i].get(), i);
        std::sort(_indexByAddress.begin(), _indexByAddress.end());
    }
    const auto it = std::lower_bound(_indexByAddress.begin(), _indexByAddress.end(),
                                     std::pair<const ChapterData *, size_t>(chapter, 0));
    if (it == _indexByAddress.end() || it->first != chapter)
        return std::nullopt;
    return it->second;
}

std::optional<size_t> TripData::sortedIndexOf(const ChapterData *chapter)
{
    std::lock_guard lock(_mutex);
    sortLocked();
    return indexLocked(chapter);
}

bool TripData::moviesExist(const ChapterList &chapters)
{
    QStringList paths;
    paths.reserve(static_cast<qsizetype>(chapters.size()));
    for (const auto &chapter : chapters)
        paths << chapter->_pathMp4.toLocalFile();
    return FileUtil::allExist(paths);
}

std::shared_ptr<ChapterData> TripData::neighbour(const ChapterData *chapter, int step)
{
    std::lock_guard lock(_mutex);
    sortLocked();
    const auto at = indexLocked(chapter);
    if (!at)
        return nullptr;
    const auto index = static_cast<int64_t>(*at) + step;
    if (index < 0 || index >= static_cast<int64_t>(_chapterDataList.size()))
        return nullptr;
    return _chapterDataList[static_cast<size_t>(index)];
}

std::shared_ptr<ChapterData> TripData::getEventChapter(const MoveProtectInfo &record)
{
    return findChapter(record._fileName);
}

std::shared_ptr<ChapterData> TripData::getAdvEventChapter(const AdvMoveProtectInfo &record)
{
    return findChapter(record._fileName);
}

std::shared_ptr<ChapterData> TripData::findChapter(const QString &fileName)
{
    const auto key = FileUtil::getTripKey(fileName);
    if (!_tripName.startsWith(key))
        return nullptr;
    const auto number = FileUtil::getFileNumber(fileName);
    for (const auto &chapter : sortedChapters()) {
        const auto parent = chapter->parent();
        if (parent && parent->_tripName == key && chapter->fileNumber() == number)
            return chapter;
    }
    return nullptr;
}
