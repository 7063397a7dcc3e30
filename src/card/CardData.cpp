#include "card/CardData.h"
#include "card/EventClipBuilder.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/CardDataDelegate.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/VrecMoveManagerInfo.h"
#include "card/WorkerGroup.h"
#include "recording/FileUtil.h"

#include <QHash>
#include <QObject>
#include <algorithm>

namespace {
const QString kVrecFileName = QStringLiteral("VREC_MOV_MNG.DAT");
const QString kPrctFileName = QStringLiteral("MOV_PRCT.DAT");
const QString kAdvpFileName = QStringLiteral("ADV_PRCT.DAT");

} // namespace

bool CardData::isManagementFileName(const QString &name)
{
    const auto upper = name.toUpper();
    return upper == kVrecFileName || upper == kPrctFileName || upper == kAdvpFileName;
}

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

bool CardData::readVrecMoveManagerFile(const QUrl &url)
{
    return _managementReader.readVrecMoveManagerFile(url, _vrecList);
}

bool CardData::readMoveProtectFile(const QUrl &url, int section)
{
    return _managementReader.readMoveProtectFile(url, section, _moveProtectList);
}

bool CardData::readAdvMoveProtectFile(const QUrl &url)
{
    return _managementReader.readAdvMoveProtectFile(url, _advMoveProtectList);
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
    _managementReader.beginOpen();
    {
        // The indexes know the old lists only by their length; new lists of the same length
        // would be looked up at the old positions.
        std::lock_guard lock(_indexMutex);
        _vrecIndex = {};
        _advIndex = {};
    }

    TripFormer former(this, _fileProblems);
    if (!name.isEmpty() && !isManagementFileName(name)) {
        if (auto trip = former.singleMovieTrip(url)) {
            _tripList.push_back(trip);
            _tripList_tab.push_back(trip);
        }
        prepareChapterSpans();
    } else {
        // A cancelled load stops between its steps; the trip sorts, which may read movies, stop
        // reading at once.
        const QString folderPath = folder->toLocalFile();
        const auto load = [this, &url, &folderPath, &former] {
            const auto movies = former.scanFolder(url);
            // The chapters link their records when made, so the management files come first.
            const auto managementFile = [&folderPath](const QString &fileName) {
                return QUrl::fromLocalFile(FileUtil::appendPath(folderPath, fileName));
            };
            if (_isLoadCancelled)
                return;
            readVrecMoveManagerFile(managementFile(kVrecFileName));
            const auto prct = managementFile(kPrctFileName);
            if (readMoveProtectFile(prct, 1) && readMoveProtectFile(prct, 2))
                readMoveProtectFile(prct, 3);
            if (_isLoadCancelled)
                return;
            readAdvMoveProtectFile(managementFile(kAdvpFileName));
            const auto byDate = [](const auto &a, const auto &b) { return a->_datetime < b->_datetime; };
            std::stable_sort(_moveProtectList.begin(), _moveProtectList.end(), byDate);
            std::stable_sort(_advMoveProtectList.begin(), _advMoveProtectList.end(), byDate);
            if (_isLoadCancelled)
                return;

            _tripList = former.formTrips(movies);
            if (_isLoadCancelled)
                return;
            _tripList_tab = TripFormer::tripsWithoutSurveillance(_tripList, _moveProtectList);
            _advTripList = former.adventureTrips(_tripList, _advMoveProtectList);
            prepareChapterSpans();
        };
        load();
    }
    _managementReader.endOpen();
    _openSourcePath = url;
    _isDispose = false;
}

void CardData::prepareChapterSpans()
{
    // Here, on the open's own thread, so that the player's timeline of a trip without records reads no
    // recording on the main thread. The trips are sorted already, so the chapters' neighbours are fixed.
    for (const auto &trip : _tripList) {
        for (const auto &chapter : trip->sortedChapters()) {
            if (_isLoadCancelled)
                return;
            chapter->frameTimeSpanSoFar();
        }
    }
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
