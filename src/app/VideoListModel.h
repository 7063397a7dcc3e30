// The rows of the video list: the lists of the opened card, one current row per list, and the rows of
// the list shown. The table never selects by itself: the current rows say what is being played.
#pragma once

#include "recording/CommonConst.h"
#include "recording/Date.h"

#include <QAbstractTableModel>
#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

class CardData;
class ChapterData;
class MoveProtectInfo;
class TripData;
class UserDefaultUtil;

class VideoListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using ListType = CommonConst::ListType;

    enum Column
    {
        InfoColumn = 0,
        ImageColumn = 1
    };
    enum Role
    {
        DateRole = Qt::UserRole + 1, // first line of the date text
        TimeRole,                    // last line
        TypeRole,                    // "Manual", "Auto" or empty
        ThumbnailRole,               // local path of the row's still, empty when none
        CurrentRole                  // true on the current row of the list shown
    };

    struct Record
    {
        enum class RecordType
        {
            Auto = 0,
            Manual = 1,
            Always = 2
        };
        QString _dateTime; // date, line feed, time; empty when no format is known
        std::optional<QUrl> _path;
        RecordType _recordType = RecordType::Always;
    };

    // How the rows' dates are written: the list format of the DateFormat setting (none: empty texts),
    // the zone of the TimeZone setting and the SummerTime flag.
    struct DateStyle
    {
        std::optional<QString> format;
        QString timeZone;
        bool summerTime = false;
        static DateStyle from(const UserDefaultUtil &settings);
    };

    explicit VideoListModel(QObject *parent = nullptr);

    void setDateStyle(DateStyle style) { _dateStyle = std::move(style); }

    // The lists of a newly opened card; every current row forgotten, the Trip list shown.
    void setListData(CardData &card);
    void setLists(std::vector<std::shared_ptr<TripData>> trips,
                  std::vector<std::shared_ptr<TripData>> adventures,
                  std::vector<std::shared_ptr<MoveProtectInfo>> events,
                  std::vector<std::shared_ptr<MoveProtectInfo>> surveillance);

    ListType listType() const { return _listType; }
    // Shows a list (its rows rebuilt); the current rows are kept.
    void setListType(ListType type);
    // The Chapter tab: the adventure's chapters while an adventure row is current, else the trip's.
    ListType chapterListType() const;
    void reloadTableData();

    // Marks a row current; switchList shows that list first. False for a row outside the list.
    bool selectRow(int row, ListType type, bool switchList);
    int currentRow(ListType type) const;
    // The current row of the list shown (-1 for none).
    int shownCurrentRow() const;
    void resetRows();

    // A chapter's still arrived: the rows showing it get it in place. True when one is shown.
    bool chapterDataUpdated(const ChapterData &chapter);
    // Whether the list shown has a row for the chapter (a trip row for its first chapter...).
    bool isChapterShown(const ChapterData &chapter);

    std::vector<std::shared_ptr<ChapterData>> selectedTripChapters() const;
    std::vector<std::shared_ptr<ChapterData>> selectedAdventureChapters() const;
    const std::vector<std::shared_ptr<TripData>> &tripData() const { return _tripData; }
    const std::vector<std::shared_ptr<TripData>> &adventureData() const { return _adventureData; }
    const std::vector<std::shared_ptr<MoveProtectInfo>> &eventList() const { return _eventList; }
    const std::vector<std::shared_ptr<MoveProtectInfo>> &surveillanceList() const
    {
        return _surveillanceList;
    }
    int currentRowTrip() const { return _currentRowTrip; }
    int workRowTrip() const { return _workRowTrip; }
    int currentRowAdventure() const { return _currentRowAdventure; }
    const std::vector<Record> &tableData() const { return _tableData; }
    // The "info" column's header of the list shown.
    QString infoTitle() const;
    static QString typeText(Record::RecordType type);

    bool isSelectRowChanging = false; // set by the main window while it changes item

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // A row of the list shown for the view to scroll into view: the current row once the rows are made
    // again, and every row selected, the current one too.
    void rowToShow(int row);

private:
    // What a row shows: a chapter (trip, adventure and chapter rows) or an event record.
    struct RowSource
    {
        std::shared_ptr<ChapterData> chapter;
        std::shared_ptr<MoveProtectInfo> record;
    };
    QString dateText(const Date &date) const;
    void appendTripRow(TripData &trip, bool adventureStart);
    void appendChapterRows(const std::vector<std::shared_ptr<ChapterData>> &chapters);
    void setCurrentRowOfShown(int row);
    static std::vector<std::shared_ptr<ChapterData>> sortedChaptersOf(TripData &trip);

    DateStyle _dateStyle;
    ListType _listType = ListType::Trip;
    std::vector<std::shared_ptr<TripData>> _tripData;
    std::vector<std::shared_ptr<TripData>> _adventureData;
    std::vector<std::shared_ptr<MoveProtectInfo>> _eventList;
    std::vector<std::shared_ptr<MoveProtectInfo>> _surveillanceList;
    int _currentRowChapter = -1;
    int _currentRowTrip = -1;
    int _currentRowEvent = -1;
    int _currentRowSurveillance = -1;
    int _currentRowAdventure = -1;
    int _workRowTrip = -1; // the trip last selected; survives resetRows
    std::vector<Record> _tableData;
    std::vector<RowSource> _rowSources;
};
