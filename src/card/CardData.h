// The opened card (movie folder, backup folder or one movie file): its records, trips and clips.
#pragma once

#include "card/CardWorkerSteps.h"
#include "card/EventClip.h"
#include "card/FileProblemList.h"
#include "card/ManagementFileReader.h"
#include "card/TripData.h"
#include "card/TripFormer.h"

#include <QHash>
#include <QPair>
#include <QString>
#include <QUrl>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class AdvMoveProtectInfo;
class CardDataDelegate;
class QObject;
class WorkerGroup;
class MoveProtectInfo;
class VrecMoveManagerInfo;

class CardData
{
public:
    enum class ActiveType
    {
        MovieRec = 0,
        EventRec = 1,
        AdventureRec = 2
    };

    static constexpr int THREADED_SLEEP_MSEC = 1000;    // idle pause of a worker
    static constexpr int MAX_RETRY_CNT_PICTUREDATA = 5; // attempts per chapter at its driving data
    static constexpr int MAX_RETRY_CNT_THUMBNAIL = 5;   // attempts per chapter or record at a thumbnail

    CardData();
    CardData(const CardData &) = delete;
    CardData &operator=(const CardData &) = delete;
    virtual ~CardData();

    // Fills the lists from the chosen path: a folder, one of its management files, or one movie
    // file. Runs on the calling thread; meant for a card whose workers have not started.
    void loadCardFolder(const QUrl &url);
    // True for the name (in any case) of one of the three management files: opening one opens its folder.
    static bool isManagementFileName(const QString &name);
    // Without running workers, releases the lists at once. With workers, only asks them to end
    // (they finish the step they are in); the lists are released on the main thread after both
    // have ended.
    void dispose();
    // Disposes every trip and empties the trip and event lists (`_vrecList` stays).
    void releaseLists();

    // Management-file readers (`ManagementFileReader`): append to their list; false when the file
    // cannot be read or is shorter than its header. A file that exists but cannot be read is listed
    // in _fileProblems.
    virtual bool readVrecMoveManagerFile(const QUrl &url);
    virtual bool readMoveProtectFile(const QUrl &url, int section);
    virtual bool readAdvMoveProtectFile(const QUrl &url);

    // The chapter holding an event record's movie; cached in the record once found.
    std::shared_ptr<ChapterData> getEventChapter(MoveProtectInfo &record);
    // The chapter of an adventure record's movie; the search result is stored in the record.
    std::shared_ptr<ChapterData> getAdvChapter(AdvMoveProtectInfo &record);

    // Clips: 12 s before to 8 s after a G or SW event; 60 s from a surveillance event; the run
    // of consecutive adventure files of a record.
    EventClip getEventChapters(MoveProtectInfo &record);
    EventClip getSurveillanceChapters(MoveProtectInfo &record);
    EventClip getAdventureChapters(AdvMoveProtectInfo &record);

    // The last record of `_vrecList` / `_advMoveProtectList` whose file name has this trip key and
    // file number; what a new chapter links. Indexed once per list length, so making the chapters
    // of a large card does not compare every chapter with every record.
    std::shared_ptr<VrecMoveManagerInfo> findVrecRecord(const QString &tripKey, int32_t fileNumber) const;
    std::shared_ptr<AdvMoveProtectInfo> findAdvRecord(const QString &tripKey, int32_t fileNumber) const;

    // Background work (main thread): starts the picture-data worker (background priority) and the
    // thumbnail worker (default priority). Each runs its step until `dispose`, pausing
    // THREADED_SLEEP_MSEC while a step finds nothing, and hands every finished chapter to the
    // delegate on the main thread.
    void startLoadWorkers();
    // True once each worker has had a step that found nothing left to try (every candidate has what it
    // needs or has used up its attempts) and every hand-off they made has run on the main thread.
    // Candidates only ever shrink, so this stays true. Any thread.
    bool loadWorkersDone() const { return _loopsWithNothingLeft.load() == 2 && _handOffsToRun.load() == 0; }
    // One step of each worker (worker threads): the chapter whose driving data, or whose (or whose
    // event's) thumbnail, this step made; none when nothing is left to try.
    std::shared_ptr<ChapterData> loadNextPictureData();
    std::shared_ptr<ChapterData> loadNextThumbnail();
    // Stills of event records: the record's still after an attempt. force false only reports it.
    std::optional<QUrl> makeEventThumbnail(bool force, MoveProtectInfo &record);
    std::optional<QUrl> makeSurveillanceThumbnail(bool force, MoveProtectInfo &record);
    // True when this call gave the record its still; false when it had one, its chapter is not on
    // the card, its attempts are used up or the attempt failed.
    bool loadEventThumbnail(MoveProtectInfo &record);

    // Trip forming and its orders (`TripFormer`).
    static bool isTripWithoutSurveillance(TripData &trip,
                                          const std::vector<std::shared_ptr<MoveProtectInfo>> &records)
    {
        return TripFormer::isTripWithoutSurveillance(trip, records);
    }
    static bool isTripNameAscending(const TripData &a, const TripData &b)
    {
        return TripFormer::isTripNameAscending(a, b);
    }
    static bool isFileNumberAscending(const QUrl &a, const QUrl &b)
    {
        return TripFormer::isFileNumberAscending(a, b);
    }
    // Trip order by the start of the first chapter. Trips without chapters come first and are
    // equal to each other, so the predicate is a strict weak ordering.
    static bool isTripStartAscending(TripData &a, TripData &b)
    {
        return TripFormer::isTripStartAscending(a, b);
    }

    std::atomic<ActiveType> _activeType = ActiveType::MovieRec;
    std::vector<std::shared_ptr<TripData>> _tripList;               // every trip of the source
    std::vector<std::shared_ptr<TripData>> _tripList_tab;           // trips without a surveillance movie
    std::vector<std::shared_ptr<TripData>> _advTripList;            // trips of the adventure movies
    std::vector<std::shared_ptr<MoveProtectInfo>> _moveProtectList; // by date, oldest first
    std::vector<std::shared_ptr<VrecMoveManagerInfo>> _vrecList;    // file order
    std::vector<std::shared_ptr<AdvMoveProtectInfo>> _advMoveProtectList; // by date, oldest first
    std::optional<QUrl> _openSourcePath;
    // Files of the opened source that could not be read or were skipped (loader and workers).
    FileProblemList _fileProblems;
    std::weak_ptr<CardDataDelegate> delegate; // receiver of the hand-offs; read on the main thread only
    std::atomic<bool> _isDispose = false;     // the workers stop when they see it
    // Set from another thread to end a running loadCardFolder early, its lists left partial; never
    // cleared, as a card whose load was given up is let go of.
    std::atomic<bool> _isLoadCancelled = false;
    // Stills the main thread took back from chapters so that the thumbnail worker makes them again.
    std::atomic<uint64_t> _thumbnailsGivenBack = 0;
    // The running workers, from startLoadWorkers until their end is handled on the main thread.
    std::unique_ptr<WorkerGroup> _wkThreadGroup;

private:
    // Every chapter learns what its timeline length needs beyond the records (see
    // ChapterData::frameTimeSpanSoFar).
    void prepareChapterSpans();

    using RecordKey = QPair<QString, int32_t>; // trip key, file number
    struct RecordIndex
    {
        size_t listSize = 0;
        bool built = false;
        QHash<RecordKey, size_t> last; // position of the last record with that key
    };
    template <typename Record>
    static std::shared_ptr<Record> findRecord(const std::vector<std::shared_ptr<Record>> &list,
                                              RecordIndex &index, const RecordKey &key);

    std::vector<std::shared_ptr<TripData>> tripsByName() const;
    // The walk behind getEventChapter and getAdvChapter: the record's cached chapter, else the first
    // chapter `find` gives from the trips of the record's trip key, in name order, then cached.
    template <typename Record, typename Find>
    std::shared_ptr<ChapterData> findEventChapter(Record &record, Find find);
    std::optional<QUrl> makeRecordThumbnail(bool force, MoveProtectInfo &record, bool isSurveillance);
    void workersFinished();

    ManagementFileReader _managementReader{_fileProblems};

    // Main-thread object that the workers' hand-offs are queued on; it dies with this card, so a
    // hand-off that arrives later is dropped.
    std::unique_ptr<QObject> _handOffContext;
    std::atomic<int> _loopsWithNothingLeft = 0;
    std::atomic<int> _handOffsToRun = 0; // made by the workers, not yet run on the main thread
    // Where each worker's search for its next chapter resumes (each used on its worker's thread).
    CardWorkerSteps::Scan _pictureScan;
    CardWorkerSteps::Scan _thumbnailScan;

    mutable std::mutex _indexMutex;
    mutable RecordIndex _vrecIndex;
    mutable RecordIndex _advIndex;
};
