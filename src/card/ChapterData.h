// One movie file of a trip: its management records, start time, camera time stamp, length and driving data.
#pragma once

#include "card/ThumbnailCache.h"
#include "recording/Date.h"

#include <QImage>
#include <QString>
#include <QUrl>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class AdvMoveProtectInfo;
class ChapterDataDelegate;
struct ChapterOutline;
class PictureData;
class TripData;
class VrecMoveManagerInfo;

class ChapterData
{
public:
    // The card's management records of this file, as the loader found them.
    struct Records
    {
        std::shared_ptr<VrecMoveManagerInfo> vmmInfo;
        std::shared_ptr<AdvMoveProtectInfo> advInfo;
    };

    ChapterData(QUrl path, const std::shared_ptr<TripData> &parent, Records records);
    ChapterData(const ChapterData &) = delete;
    ChapterData &operator=(const ChapterData &) = delete;
    ~ChapterData();

    std::shared_ptr<TripData> parent() const;
    // Neighbours in the trip's start-time order (sorts the trip once); none at either end.
    std::shared_ptr<ChapterData> previousChapter() const;
    std::shared_ptr<ChapterData> nextChapter() const;

    // Start date from the management record, else the first frame; distant past while unknown.
    Date startTime();
    // Start date from the adventure record, else the first frame.
    Date startAdvTime();
    // Camera millisecond counter at the file's start (0 while unknown).
    uint32_t timeStamp();
    // Length in ms on the trip timeline: the next consecutive chapter's time stamp minus this
    // one's, or the recording's own span (the movie's length until the recording is read). Worked
    // out once and then kept (see the .cpp).
    int64_t frameTimeSpan();
    // The length as far as it can be told without building the driving data: `known` once it is the
    // length frameTimeSpan() gives for good. Until then it is the recording's own span or the movie's
    // length, and the caller asks again once the workers hand the chapter over. What the records do not
    // tell comes from a light read of the movie (its header and driving-data index), made once: the
    // card's open asks for every chapter on its own thread, so that the main thread's timelines read
    // no recording.
    struct SpanSoFar
    {
        int64_t span = 0;
        bool known = false;
    };
    SpanSoFar frameTimeSpanSoFar();
    // Moves on whenever what frameTimeSpanSoFar() gives may have changed (this chapter's driving data,
    // opening, time stamp or movie length learned): a timeline asks again only the chapters whose
    // revision moved since it last asked them. Read it before asking.
    uint32_t lengthRevision() const { return _lengthRevision.load(std::memory_order_acquire); }
    // The driving data; built from the movie when missing and load is true (counts an attempt).
    // A movie that could not be read is not read again this way during the open: every playback
    // tick, sort or panel would read it again on the caller's thread. Retries are the workers'.
    // Once read, only the chapters used last keep theirs (RecentPictures): the others' is read
    // again when asked for with load, without counting an attempt. Without load nothing is read:
    // only data still held is given.
    std::shared_ptr<PictureData> getPicture(bool load);
    // The driving data was read once (whether it is still held or not); reads nothing.
    bool hasPicture() const;
    // What walks over a whole trip need of the driving data, kept for good from its first read;
    // none before it. Reads nothing.
    std::shared_ptr<const ChapterOutline> outline() const;
    // Recordings read on the application's main thread so far, by every chapter: the window answers
    // nothing while one is read.
    static uint64_t mainThreadReads();
    // The workers' road: builds the driving data while fewer than MAX_RETRY_CNT_PICTUREDATA
    // attempts have failed.
    std::shared_ptr<PictureData> retryPicture();

    // File number of `_pathMp4` (0 when the name carries none).
    int32_t fileNumber() const;

    // Stable sort by start time, earliest first; unknown dates (distant past) first.
    static void sortByStartTime(std::vector<std::shared_ptr<ChapterData>> &chapters);

    // The thumbnail's URL. With create true and none made yet, counts an attempt and takes the
    // movie's frame at 1 ms into the thumbnail folder (trimmed clips get a masked copy of their
    // own); none when that fails. With create false, only reports the existing one.
    std::optional<QUrl> makeThumbnail(bool create);
    // Height of the band that hides a trimmed clip's burnt-in text, as a share of the picture.
    static constexpr double MASK_HEIGHT_RATIO = 30.0 / 1080.0;
    // The still with that band painted black along its bottom edge.
    static QImage maskBottomBand(const QImage &still);
    // Where this chapter's masked thumbnail goes: a file of its own in the thumbnail folder.
    QString maskedThumbnailPath() const;

    // Seams for the background workers (thumbnail and picture-data retries).
    std::optional<QUrl> pathThumbnail() const;
    void setPathThumbnail(std::optional<QUrl> path);
    int64_t retryCntPictureData() const;
    // True the first time it is asked once the driving data is there: the worker hands each chapter's
    // route on once, also when another caller (an event's still, a sort) read the data first.
    bool takePictureReport();
    bool isPictureReported() const { return _isPictureReported.load(); }
    int64_t retryCntThumbnail() const;
    void addRetryCntThumbnail();
    std::shared_ptr<ChapterDataDelegate> delegate() const;
    void setDelegate(const std::shared_ptr<ChapterDataDelegate> &delegate);

    const QUrl _pathMove; // the movie file: source of the driving data
    const QUrl _pathMp4;  // the same file: source of the file number and of the thumbnail frame
    // Records of this file in the card's lists, linked at creation and never changed afterwards.
    std::shared_ptr<VrecMoveManagerInfo> _vmmInfo;
    std::shared_ptr<AdvMoveProtectInfo> _advInfo;

private:
    static std::shared_ptr<PictureData> buildPicture(const QUrl &path);
    static void countRead();
    // The picture data, built when fewer than maxAttempts attempts were made.
    std::shared_ptr<PictureData> loadPicture(int64_t maxAttempts);
    // The kept length, else the one worked out now (and kept when complete).
    SpanSoFar keptFrameTimeSpan(bool mayRead);
    // Without mayRead, the driving data is never built: a length it alone can tell is not complete.
    int64_t computeFrameTimeSpan(bool &complete, bool mayRead);
    int64_t ownFrameTimeSpan(bool &complete, bool mayRead);
    // The camera's counter at the file's start when known without building the driving data.
    std::optional<uint32_t> knownTimeStamp();
    // The driving data while someone holds it; leaves the recent-use order alone.
    std::shared_ptr<PictureData> heldPicture() const;
    // The first time buildPicture's driving data would have, without building it (none when only
    // building it can tell); the same read learns the recording's span and the movie's length. Read
    // once.
    std::optional<Date> readOpening();
    void lengthInputChanged() { _lengthRevision.fetch_add(1, std::memory_order_release); }
    // Lists why this movie could not be read with the card's problems (once per cause).
    void reportProblem(const QString &reason) const;
    Date startDate(Date ChapterData::*cache, const Date *recordDate);
    int64_t movieLength();

    const std::weak_ptr<TripData> _parent;
    const int32_t _fileNumber;

    // Guards the caches below: the workers and the main thread read and fill them at once.
    // Never held while calling out to another object.
    mutable std::mutex _mutex;
    // Held while the driving data, or the thumbnail, is being made, so that a second caller waits
    // for the first instead of making it again. Taken before _mutex, never the other way round.
    std::mutex _pictureBuildMutex;
    Date _startAdvTime = Date::distantPast();
    Date _startTime = Date::distantPast();
    uint64_t _timeStamp = 0;
    bool _isTimeStampRead = false; // _timeStamp is the driving data's, kept when the data is let go
    // Read on every playback tick, so the known length is read without the lock: the flag is
    // published (release) after the length is stored.
    std::atomic<int64_t> _frameTimeSpan = 0;
    std::atomic<bool> _isFrameTimeSpanKnown = false;
    // Bumped (release) after any of the fields the length is worked out from was stored.
    std::atomic<uint32_t> _lengthRevision = 0;
    // The movie's own length from its header, read once when first needed (-1 until then).
    std::atomic<int64_t> _movieLength = -1;
    // What readOpening found: the first time, and the span the driving data will have (-1 if none).
    std::optional<std::optional<Date>> _openingFirstTime;
    std::atomic<int64_t> _recordingSpan = -1;
    // Held by its users and RecentPictures; a read that succeeded once is repeated when it is gone.
    std::weak_ptr<PictureData> _picture;
    std::shared_ptr<const ChapterOutline> _outline;
    bool _isPictureRead = false;
    int64_t _retryCntPictureData = 0;
    bool _isPictureBuilding = false; // a read of the movie is under way
    std::atomic<bool> _isPictureReported = false;
    ThumbnailCache _thumbnail;
    std::weak_ptr<ChapterDataDelegate> _delegate;
};
