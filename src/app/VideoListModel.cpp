#include "app/VideoListModel.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/UserDefaultUtil.h"

#include <algorithm>

VideoListModel::DateStyle VideoListModel::DateStyle::from(const UserDefaultUtil &settings)
{
    return {DateFormatTypeUtil::format(DateFormatTypeUtil::listFormats(), settings.dateFormat),
            DateFormatTypeUtil::timeZoneIdentifier(settings.timeZone), settings.summerTime};
}

VideoListModel::VideoListModel(QObject *parent) : QAbstractTableModel(parent) {}

void VideoListModel::setListData(CardData &card)
{
    std::vector<std::shared_ptr<MoveProtectInfo>> events;
    std::vector<std::shared_ptr<MoveProtectInfo>> surveillance;
    for (const std::shared_ptr<MoveProtectInfo> &record : card._moveProtectList) {
        if (!record || !card.getEventChapter(*record))
            continue;
        (record->_detect == MoveProtectInfo::DetectStatus::SURV ? surveillance : events).push_back(record);
    }
    setLists(card._tripList_tab, card._advTripList, std::move(events), std::move(surveillance));
}

void VideoListModel::setLists(std::vector<std::shared_ptr<TripData>> trips,
                              std::vector<std::shared_ptr<TripData>> adventures,
                              std::vector<std::shared_ptr<MoveProtectInfo>> events,
                              std::vector<std::shared_ptr<MoveProtectInfo>> surveillance)
{
    _tripData = std::move(trips);
    _adventureData = std::move(adventures);
    _eventList = std::move(events);
    _surveillanceList = std::move(surveillance);
    _currentRowChapter = _currentRowTrip = _currentRowEvent = _currentRowSurveillance = _currentRowAdventure =
        _workRowTrip = -1;
    setListType(ListType::Trip);
}

void VideoListModel::setListType(ListType type)
{
    _listType = type;
    reloadTableData();
    headerDataChanged(Qt::Horizontal, InfoColumn, InfoColumn);
}

VideoListModel::ListType VideoListModel::chapterListType() const
{
    return _currentRowAdventure >= 0 ? ListType::AdvChapter : ListType::TripChapter;
}

std::vector<std::shared_ptr<ChapterData>> VideoListModel::sortedChaptersOf(TripData &trip)
{
    // Sorts in place once (two or more chapters), as every other reader of the trip sees it.
    return trip.sortedChapters();
}

QString VideoListModel::dateText(const Date &date) const
{
    if (!_dateStyle.format)
        return {};
    return date.toString(*_dateStyle.format, _dateStyle.timeZone, _dateStyle.summerTime);
}

void VideoListModel::appendTripRow(TripData &trip, bool adventureStart)
{
    const std::vector<std::shared_ptr<ChapterData>> chapters = sortedChaptersOf(trip);
    if (chapters.empty())
        return;
    const std::shared_ptr<ChapterData> &first = chapters.front();
    _tableData.push_back({dateText(adventureStart ? first->startAdvTime() : first->startTime()),
                          first->pathThumbnail(), Record::RecordType::Always});
    _rowSources.push_back({first, nullptr});
}

void VideoListModel::appendChapterRows(const std::vector<std::shared_ptr<ChapterData>> &chapters)
{
    for (const std::shared_ptr<ChapterData> &chapter : chapters) {
        _tableData.push_back(
            {dateText(chapter->startTime()), chapter->pathThumbnail(), Record::RecordType::Always});
        _rowSources.push_back({chapter, nullptr});
    }
}

void VideoListModel::reloadTableData()
{
    beginResetModel();
    _tableData.clear();
    _rowSources.clear();
    auto inRange = [](int row, const auto &list) { return row >= 0 && row < static_cast<int>(list.size()); };
    switch (_listType) {
    case ListType::Trip:
        for (const std::shared_ptr<TripData> &trip : _tripData)
            appendTripRow(*trip, false);
        break;
    case ListType::Event:
    case ListType::Surveillance: {
        const bool events = _listType == ListType::Event;
        for (const std::shared_ptr<MoveProtectInfo> &record : events ? _eventList : _surveillanceList) {
            const bool manual = events && record->_detect == MoveProtectInfo::DetectStatus::SW;
            const Record::RecordType type =
                !events ? Record::RecordType::Always
                        : (manual ? Record::RecordType::Manual : Record::RecordType::Auto);
            _tableData.push_back({dateText(record->_datetime), record->pathThumbnail(), type});
            _rowSources.push_back({nullptr, record});
        }
        break;
    }
    case ListType::Adventure:
        for (const std::shared_ptr<TripData> &trip : _adventureData)
            appendTripRow(*trip, true);
        break;
    case ListType::TripChapter:
    case ListType::AdvChapter:
        // The rows follow the current rows, not the list type.
        if (inRange(_currentRowTrip, _tripData)) {
            appendChapterRows(sortedChaptersOf(*_tripData[_currentRowTrip]));
        } else if (inRange(_currentRowAdventure, _adventureData)) {
            const std::vector<std::shared_ptr<ChapterData>> chapters =
                sortedChaptersOf(*_adventureData[_currentRowAdventure]);
            appendChapterRows(chapters);
            // The first row of a playing adventure's first chapter is the adventure's own start.
            if (_currentRowChapter == 0 && !chapters.empty())
                _tableData.front()._dateTime = dateText(chapters.front()->startAdvTime());
        } else {
            appendChapterRows(selectedTripChapters());
        }
        break;
    }
    endResetModel();
    emit rowToShow(shownCurrentRow());
}

bool VideoListModel::selectRow(int row, ListType type, bool switchList)
{
    size_t count = 0;
    switch (type) {
    case ListType::Trip:
        count = _tripData.size();
        break;
    case ListType::Event:
        count = _eventList.size();
        break;
    case ListType::Surveillance:
        count = _surveillanceList.size();
        break;
    case ListType::Adventure:
        count = _adventureData.size();
        break;
    case ListType::TripChapter:
        count = selectedTripChapters().size();
        break;
    case ListType::AdvChapter:
        count = selectedAdventureChapters().size();
        break;
    }
    if (row < 0 || row >= static_cast<int>(count))
        return false;
    const int previous = shownCurrentRow();
    switch (type) {
    case ListType::Trip:
        _currentRowTrip = _workRowTrip = row;
        break;
    case ListType::Event:
        _currentRowEvent = row;
        break;
    case ListType::Surveillance:
        _currentRowSurveillance = row;
        break;
    case ListType::Adventure:
        _currentRowAdventure = row;
        break;
    case ListType::TripChapter:
    case ListType::AdvChapter:
        _currentRowChapter = row;
        break;
    }
    if (switchList) {
        setListType(type);
    } else if (_listType == type) {
        // Only the two rows' marks change; the row is brought into view even when it was current already,
        // as the user may have scrolled it away.
        if (previous != row) {
            if (previous >= 0 && previous < rowCount())
                emit dataChanged(index(previous, 0), index(previous, ImageColumn));
            emit dataChanged(index(row, 0), index(row, ImageColumn));
        }
        emit rowToShow(row);
    }
    return true;
}

int VideoListModel::currentRow(ListType type) const
{
    switch (type) {
    case ListType::Trip:
        return _currentRowTrip >= 0 ? _currentRowTrip : _workRowTrip;
    case ListType::Event:
        return _currentRowEvent;
    case ListType::Surveillance:
        return _currentRowSurveillance;
    case ListType::Adventure:
        return _currentRowAdventure;
    case ListType::TripChapter:
    case ListType::AdvChapter:
        return _currentRowChapter;
    }
    return -1;
}

int VideoListModel::shownCurrentRow() const
{
    return currentRow(_listType);
}

void VideoListModel::resetRows()
{
    const int previous = shownCurrentRow();
    _currentRowTrip = _currentRowAdventure = _currentRowEvent = _currentRowSurveillance = _currentRowChapter =
        -1;
    if (previous >= 0 && previous < rowCount())
        emit dataChanged(index(previous, 0), index(previous, ImageColumn));
}

bool VideoListModel::isChapterShown(const ChapterData &chapter)
{
    return std::any_of(_rowSources.begin(), _rowSources.end(), [&chapter](const RowSource &source) {
        const std::shared_ptr<ChapterData> shown =
            source.record ? source.record->eventChapter() : source.chapter;
        return shown.get() == &chapter;
    });
}

bool VideoListModel::chapterDataUpdated(const ChapterData &chapter)
{
    bool shown = false;
    for (size_t row = 0; row < _rowSources.size(); ++row) {
        const RowSource &source = _rowSources[row];
        const std::shared_ptr<ChapterData> rowChapter =
            source.record ? source.record->eventChapter() : source.chapter;
        if (rowChapter.get() != &chapter)
            continue;
        shown = true;
        _tableData[row]._path = source.record ? source.record->pathThumbnail() : chapter.pathThumbnail();
        const QModelIndex cell = index(static_cast<int>(row), ImageColumn);
        emit dataChanged(cell, cell);
    }
    return shown;
}

std::vector<std::shared_ptr<ChapterData>> VideoListModel::selectedTripChapters() const
{
    auto inRange = [this](int row) { return row >= 0 && row < static_cast<int>(_tripData.size()); };
    const int row = inRange(_currentRowTrip) ? _currentRowTrip : (inRange(_workRowTrip) ? _workRowTrip : -1);
    return row < 0 ? std::vector<std::shared_ptr<ChapterData>>{} : sortedChaptersOf(*_tripData[row]);
}

std::vector<std::shared_ptr<ChapterData>> VideoListModel::selectedAdventureChapters() const
{
    if (_currentRowAdventure < 0 || _currentRowAdventure >= static_cast<int>(_adventureData.size()))
        return {};
    return sortedChaptersOf(*_adventureData[_currentRowAdventure]);
}

QString VideoListModel::infoTitle() const
{
    const bool sensing = _listType == ListType::Event || _listType == ListType::Surveillance;
    return sensing ? tr("Sensing time/date") : tr("Recording time/date");
}

QString VideoListModel::typeText(Record::RecordType type)
{
    switch (type) {
    case Record::RecordType::Manual:
        return tr("Manual");
    case Record::RecordType::Auto:
        return tr("Auto");
    case Record::RecordType::Always:
        break;
    }
    return {};
}

int VideoListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(_tableData.size());
}

int VideoListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant VideoListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Record &record = _tableData[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == InfoColumn ? record._dateTime : QVariant();
    case DateRole:
        return record._dateTime.section(QLatin1Char('\n'), 0, 0);
    case TimeRole:
        return record._dateTime.isEmpty() ? QString() : record._dateTime.section(QLatin1Char('\n'), -1);
    case TypeRole:
        return typeText(record._recordType);
    case ThumbnailRole:
        return record._path ? record._path->toLocalFile() : QString();
    case CurrentRole:
        return index.row() == shownCurrentRow();
    default:
        return {};
    }
}

QVariant VideoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == InfoColumn ? infoTitle() : QString();
}
