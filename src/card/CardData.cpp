#include "card/CardData.h"
#include "card/EventClipBuilder.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/CardDataDelegate.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "card/VrecMoveManagerInfo.h"
#include "card/WorkerGroup.h"
#include "recording/DataUtility.h"
#include "recording/FileUtil.h"

#include "platform/BoundedFileReader.h"

#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QSet>
#include <algorithm>
#include <span>

namespace {
const QString kVrecFileName = QStringLiteral("VREC_MOV_MNG.DAT");
const QString kPrctFileName = QStringLiteral("MOV_PRCT.DAT");
const QString kAdvpFileName = QStringLiteral("ADV_PRCT.DAT");

// Section bounds of MOV_PRCT.DAT by kind (NON, G, SURV, SW); NON has no records.
constexpr qsizetype kSectionStart[] = {0x200, 0x200, 0x1600, 0x2A00};
constexpr qsizetype kSectionEnd[] = {0x0, 0x1600, 0x2A00, 0x3400};

// Movie files grouped by trip key, keys in the order first listed; a repeated file number within
// one key is dropped (the first listed wins).
struct KeyGroups
{
    QStringList keys;
    QHash<QString, QList<QUrl>> files;
    QHash<QString, QSet<int32_t>> numbers;

    void add(const QUrl &file)
    {
        const auto name = file.fileName();
        const auto key = FileUtil::getTripKey(name);
        const auto number = FileUtil::getFileNumber(name);
        auto &seen = numbers[key];
        if (!files.contains(key))
            keys.append(key);
        else if (seen.contains(number))
            return;
        seen.insert(number);
        files[key].append(file);
    }
};

bool isManagementFileName(const QString &name)
{
    const auto upper = name.toUpper();
    return upper == kVrecFileName || upper == kPrctFileName || upper == kAdvpFileName;
}

int32_t fileNumberOfPath(const QUrl &path)
{
    return FileUtil::getFileNumber(path.fileName());
}

} // namespace

CardData::CardData() = default;

CardData::~CardData()
{
    // An owner that forgot to dispose: stop the workers and wait for their current step before
    // the lists they read go away.
    if (_wkThreadGroup) {
        _isDispose = true;
        _wkThreadGroup.reset();
    }
    releaseLists();
    _vrecList.clear();
}

void CardData::releaseLists()
{
    for (auto *list : {&_tripList, &_tripList_tab, &_advTripList}) {
        for (const auto &trip : *list)
            trip->dispose();
        list->clear();
    }
    _moveProtectList.clear();
    _advMoveProtectList.clear();
}

void CardData::dispose()
{
    _isDispose = true;
    if (_wkThreadGroup) {
        // The workers may be iterating the lists: they are released once both have ended.
        _wkThreadGroup->wake();
        return;
    }
    releaseLists();
    _isDispose = false;
}

std::optional<QByteArray> CardData::readManagementFile(const QUrl &url, qint64 maxBytes, bool isFixedSize)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const QString path = url.toLocalFile();
    if (_loadReads) {
        if (const auto it = _loadReads->constFind(path); it != _loadReads->constEnd())
            return *it;
    }
    std::optional<QByteArray> bytes;
    // A card without one of its management files is usual and not worth a message.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        auto contents = BoundedFileReader::readFile(path, maxBytes,
                                                    isFixedSize ? BoundedFileReader::Oversize::TakePrefix
                                                                : BoundedFileReader::Oversize::Refuse);
        if (contents.ok())
            bytes = std::move(contents.bytes);
        else
            _fileProblems.add(path, contents.error);
    }
    if (_loadReads)
        _loadReads->insert(path, bytes);
    return bytes;
}

bool CardData::readVrecMoveManagerFile(const QUrl &url)
{
    const auto file = readManagementFile(url, MAX_MANAGEMENT_FILE_BYTES, false);
    if (!file || file->size() < VrecMoveManagerInfo::HEADER_SIZE)
        return false;
    const auto data = DataUtility::asBytes(*file);
    const uint8_t mode = data[0];
    // Mode 0 skips every invalid record, mode 1 stops at the first end marker, any other mode
    // takes nothing. Only whole records are read: the file may end without an end marker.
    if (mode > 1)
        return true;
    for (qsizetype offset = VrecMoveManagerInfo::HEADER_SIZE;
         offset + VrecMoveManagerInfo::RECORD_SIZE <= file->size();
         offset += VrecMoveManagerInfo::RECORD_SIZE) {
        auto record =
            std::make_shared<VrecMoveManagerInfo>(data.subspan(offset, VrecMoveManagerInfo::RECORD_SIZE));
        if (record->_infoEnable)
            _vrecList.push_back(std::move(record));
        else if (mode == 1 && record->_readStopFlag)
            break;
    }
    return true;
}

bool CardData::readMoveProtectFile(const QUrl &url, int section)
{
    // Its sections end at a fixed place: nothing past the last one is ever looked at.
    const auto file = readManagementFile(url, kSectionEnd[3], true);
    if (!file || file->size() < MoveProtectInfo::HEADER_SIZE)
        return false;
    if (section < 0 || section > 3)
        return true;
    const auto data = DataUtility::asBytes(*file);
    const uint8_t mode = data[0];
    if (mode > 1)
        return true;
    // A file cut short ends the section at its last whole record.
    const auto end = std::min(kSectionEnd[section], file->size());
    const auto detect = static_cast<MoveProtectInfo::DetectStatus>(section);
    for (qsizetype offset = kSectionStart[section]; offset + MoveProtectInfo::RECORD_SIZE <= end;
         offset += MoveProtectInfo::RECORD_SIZE) {
        auto record =
            std::make_shared<MoveProtectInfo>(data.subspan(offset, MoveProtectInfo::RECORD_SIZE), detect);
        if (record->_isInfoEnable)
            _moveProtectList.push_back(std::move(record));
        else if (mode == 1 && record->_isReadStopFlag)
            break;
    }
    return true;
}

bool CardData::readAdvMoveProtectFile(const QUrl &url)
{
    const auto file = readManagementFile(url, MAX_MANAGEMENT_FILE_BYTES, false);
    if (!file || file->size() < AdvMoveProtectInfo::HEADER_SIZE)
        return false;
    const auto data = DataUtility::asBytes(*file);
    // Every whole record after the header is taken (the camera's files leave no spare record).
    for (qsizetype offset = AdvMoveProtectInfo::HEADER_SIZE;
         offset + AdvMoveProtectInfo::RECORD_SIZE <= file->size();
         offset += AdvMoveProtectInfo::RECORD_SIZE) {
        auto record =
            std::make_shared<AdvMoveProtectInfo>(data.subspan(offset, AdvMoveProtectInfo::RECORD_SIZE));
        if (!record->_infoEnable)
            continue;
        const bool repeated = std::any_of(_advMoveProtectList.begin(), _advMoveProtectList.end(),
                                          [&](const auto &r) { return r->_fileName == record->_fileName; });
        if (!repeated)
            _advMoveProtectList.push_back(std::move(record));
    }
    return true;
}

template <typename Record>
std::shared_ptr<Record> CardData::findRecord(const std::vector<std::shared_ptr<Record>> &list,
                                             RecordIndex &index, const RecordKey &key)
{
    if (!index.built || index.listSize != list.size()) {
        index.last.clear();
        for (size_t i = 0; i < list.size(); ++i) {
            const auto &name = list[i]->_fileName;
            index.last.insert(qMakePair(FileUtil::getTripKey(name), FileUtil::getFileNumber(name)), i);
        }
        index.listSize = list.size();
        index.built = true;
    }
    const auto it = index.last.constFind(key);
    return it == index.last.constEnd() ? nullptr : list[*it];
}

std::shared_ptr<VrecMoveManagerInfo> CardData::findVrecRecord(const QString &tripKey,
                                                              int32_t fileNumber) const
{
    std::lock_guard lock(_indexMutex);
    return findRecord(_vrecList, _vrecIndex, qMakePair(tripKey, fileNumber));
}

std::shared_ptr<AdvMoveProtectInfo> CardData::findAdvRecord(const QString &tripKey, int32_t fileNumber) const
{
    std::lock_guard lock(_indexMutex);
    return findRecord(_advMoveProtectList, _advIndex, qMakePair(tripKey, fileNumber));
}

bool CardData::isTripNameAscending(const TripData &a, const TripData &b)
{
    return a._tripName < b._tripName;
}

bool CardData::isFileNumberAscending(const QUrl &a, const QUrl &b)
{
    return fileNumberOfPath(a) < fileNumberOfPath(b);
}

bool CardData::isTripStartAscending(TripData &a, TripData &b)
{
    const auto firstA = a.firstChapter();
    const auto firstB = b.firstChapter();
    if (!firstA)
        return static_cast<bool>(firstB);
    if (!firstB)
        return false;
    return firstA->startTime() < firstB->startTime();
}

bool CardData::isTripWithoutSurveillance(TripData &trip,
                                         const std::vector<std::shared_ptr<MoveProtectInfo>> &records)
{
    // Each record's key and number once, not once per chapter.
    std::vector<std::pair<QString, int32_t>> files;
    files.reserve(records.size());
    for (const auto &record : records)
        files.emplace_back(FileUtil::getTripKey(record->_fileName),
                           FileUtil::getFileNumber(record->_fileName));
    for (const auto &chapter : trip.sortedChapters()) {
        const auto parent = chapter->parent();
        const QString tripName = parent ? parent->_tripName : QString();
        for (const auto &[key, number] : files) {
            if (key == tripName && number == chapter->fileNumber())
                return false;
        }
    }
    return true;
}

void CardData::formTrips(const QString &key, QList<QUrl> files, std::vector<std::shared_ptr<TripData>> &out)
{
    // The order of isFileNumberAscending, with each number read once.
    std::vector<std::pair<int32_t, QUrl>> numbered;
    numbered.reserve(static_cast<size_t>(files.size()));
    for (auto &file : files)
        numbered.emplace_back(fileNumberOfPath(file), std::move(file));
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QUrl> run;
    int32_t previous = 0;
    for (const auto &[number, file] : numbered) {
        // No wrap-around here: 9999 followed by 1 ends one trip and starts another.
        if (!run.isEmpty() && number != previous + 1) {
            out.push_back(TripData::create(this, run, key));
            run.clear();
        }
        run.append(file);
        previous = number;
    }
    if (!run.isEmpty())
        out.push_back(TripData::create(this, run, key));
}

void CardData::loadCardFolder(const QUrl &url)
{
    const auto [folder, name] = FileUtil::splitPath(url);
    if (!folder)
        return;
    _tripList.clear();
    _tripList_tab.clear();
    _advTripList.clear();
    _moveProtectList.clear();
    _vrecList.clear();
    _advMoveProtectList.clear();
    _fileProblems.clear();
    _loadReads.emplace();
    {
        // The indexes know the old lists only by their length; new lists of the same length
        // would be looked up at the old positions.
        std::lock_guard lock(_indexMutex);
        _vrecIndex = {};
        _advIndex = {};
    }

    // A FIFO, device or folder under a movie's name is skipped with a message: opening it could
    // block, and reading it could never end.
    const auto isMovieFile = [this](const QUrl &file) {
        const QString refusal = BoundedFileReader::whyNotRegular(file.toLocalFile());
        _fileProblems.add(file.toLocalFile(), refusal);
        return refusal.isEmpty();
    };
    if (!name.isEmpty() && !isManagementFileName(name)) {
        if (isMovieFile(url)) {
            auto trip = TripData::create(this, {url}, QString());
            _tripList.push_back(trip);
            _tripList_tab.push_back(trip);
        }
    } else {
        KeyGroups groups;
        for (const auto &file : FileUtil::searchMovieFiles(url))
            if (isMovieFile(file))
                groups.add(file);

        // The chapters link their records when made, so the management files come first.
        const auto folderPath = folder->toLocalFile();
        const auto managementFile = [&folderPath](const QString &fileName) {
            return QUrl::fromLocalFile(FileUtil::appendPath(folderPath, fileName));
        };
        readVrecMoveManagerFile(managementFile(kVrecFileName));
        const auto prct = managementFile(kPrctFileName);
        if (readMoveProtectFile(prct, 1) && readMoveProtectFile(prct, 2))
            readMoveProtectFile(prct, 3);
        readAdvMoveProtectFile(managementFile(kAdvpFileName));
        const auto byDate = [](const auto &a, const auto &b) { return a->_datetime < b->_datetime; };
        std::stable_sort(_moveProtectList.begin(), _moveProtectList.end(), byDate);
        std::stable_sort(_advMoveProtectList.begin(), _advMoveProtectList.end(), byDate);

        for (const auto &key : groups.keys)
            formTrips(key, groups.files.value(key), _tripList);
        const auto byStart = [](const auto &a, const auto &b) { return isTripStartAscending(*a, *b); };
        std::stable_sort(_tripList.begin(), _tripList.end(), byStart);

        std::vector<std::shared_ptr<MoveProtectInfo>> surveillance;
        for (const auto &record : _moveProtectList)
            if (record->_detect == MoveProtectInfo::DetectStatus::SURV)
                surveillance.push_back(record);
        for (const auto &trip : _tripList)
            if (isTripWithoutSurveillance(*trip, surveillance))
                _tripList_tab.push_back(trip);

        // The movies of adventure records: a chapter matched by several records is listed once per
        // record (the grouping drops the repeats).
        QHash<QPair<QString, int32_t>, int> adventureRecords;
        for (const auto &record : _advMoveProtectList)
            ++adventureRecords[qMakePair(FileUtil::getTripKey(record->_fileName),
                                         FileUtil::getFileNumber(record->_fileName))];
        KeyGroups adventure;
        for (const auto &trip : _tripList) {
            for (const auto &chapter : trip->sortedChapters()) {
                const int count = adventureRecords.value(qMakePair(trip->_tripName, chapter->fileNumber()));
                for (int i = 0; i < count; ++i)
                    adventure.add(chapter->_pathMp4);
            }
        }
        auto advKeys = adventure.keys;
        std::sort(advKeys.begin(), advKeys.end());
        for (const auto &key : advKeys)
            formTrips(key, adventure.files.value(key), _advTripList);
        std::stable_sort(_tripList_tab.begin(), _tripList_tab.end(), byStart);
        std::stable_sort(_advTripList.begin(), _advTripList.end(), byStart);
    }
    _loadReads.reset();
    _openSourcePath = url;
    _isDispose = false;
}

std::vector<std::shared_ptr<TripData>> CardData::tripsByName() const
{
    auto trips = _tripList;
    std::stable_sort(trips.begin(), trips.end(),
                     [](const auto &a, const auto &b) { return isTripNameAscending(*a, *b); });
    return trips;
}

template <typename Record, typename Find>
std::shared_ptr<ChapterData> CardData::findEventChapter(Record &record, Find find)
{
    if (auto cached = record.eventChapter())
        return cached;
    const auto key = FileUtil::getTripKey(record._fileName);
    for (const auto &trip : tripsByName()) {
        if (!trip->_tripName.startsWith(key))
            continue;
        if (auto chapter = find(*trip)) {
            record.setEventChapter(chapter);
            return chapter;
        }
    }
    return nullptr;
}

std::shared_ptr<ChapterData> CardData::getEventChapter(MoveProtectInfo &record)
{
    return findEventChapter(record, [&record](TripData &trip) { return trip.getEventChapter(record); });
}

std::shared_ptr<ChapterData> CardData::getAdvChapter(AdvMoveProtectInfo &record)
{
    return findEventChapter(record, [&record](TripData &trip) { return trip.getAdvEventChapter(record); });
}

EventClip CardData::getEventChapters(MoveProtectInfo &record)
{
    return EventClipBuilder::eventClip(getEventChapter(record), record._timeStamp);
}

EventClip CardData::getSurveillanceChapters(MoveProtectInfo &record)
{
    return EventClipBuilder::surveillanceClip(getEventChapter(record), record._timeStamp);
}

EventClip CardData::getAdventureChapters(AdvMoveProtectInfo &record)
{
    return EventClipBuilder::adventureClip(record, _advMoveProtectList,
                                           [this](AdvMoveProtectInfo &r) { return getAdvChapter(r); });
}
