#include "card/ChapterData.h"

#include "card/AVUtil.h"
#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/ChapterDataDelegate.h"
#include "card/ChapterOutline.h"
#include "card/RecentPictures.h"
#include "card/TripData.h"
#include "card/VrecMoveManagerInfo.h"
#include "platform/JpegFile.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/Mp4Reader.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/PictureData.h"
#include "recording/SettingInfo.h"
#include "recording/VideoInfo.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace {
constexpr int32_t kLastFileNumber = 9999;
std::atomic<uint64_t> readsOnMainThread = 0;
} // namespace

void ChapterData::countRead()
{
    const QCoreApplication *application = QCoreApplication::instance();
    if (application && QThread::currentThread() == application->thread())
        ++readsOnMainThread;
}

uint64_t ChapterData::mainThreadReads()
{
    return readsOnMainThread.load();
}

ChapterData::ChapterData(QUrl path, const std::shared_ptr<TripData> &parent, Records records)
    : _pathMove(path), _pathMp4(std::move(path)), _vmmInfo(std::move(records.vmmInfo)),
      _advInfo(std::move(records.advInfo)), _parent(parent),
      _fileNumber(FileUtil::getFileNumber(_pathMp4.fileName()))
{
}

ChapterData::~ChapterData() = default;

std::shared_ptr<TripData> ChapterData::parent() const
{
    return _parent.lock();
}

std::shared_ptr<ChapterData> ChapterData::previousChapter() const
{
    const auto trip = parent();
    return trip ? trip->neighbour(this, -1) : nullptr;
}

std::shared_ptr<ChapterData> ChapterData::nextChapter() const
{
    const auto trip = parent();
    return trip ? trip->neighbour(this, +1) : nullptr;
}

int32_t ChapterData::fileNumber() const
{
    return _fileNumber;
}

Date ChapterData::startDate(Date ChapterData::*cache, const Date *recordDate)
{
    {
        std::lock_guard lock(_mutex);
        if (this->*cache != Date::distantPast())
            return this->*cache;
        if (recordDate) {
            this->*cache = *recordDate;
            return this->*cache;
        }
    }
    // Without a record, the driving data's first time. Opening a card sorts every trip by it, so it is
    // read on its own (a fraction of building the driving data, which is left to the worker) unless
    // the driving data is there already or the light read cannot tell.
    std::optional<Date> first;
    if (!hasPicture())
        first = readOpening();
    if (!first) {
        const auto picture = getPicture(true);
        if (picture && picture->video)
            first = picture->video->firstTime;
    }
    std::lock_guard lock(_mutex);
    if (first)
        this->*cache = *first;
    return this->*cache;
}

Date ChapterData::startTime()
{
    return startDate(&ChapterData::_startTime, _vmmInfo ? &_vmmInfo->_datetime : nullptr);
}

Date ChapterData::startAdvTime()
{
    return startDate(&ChapterData::_startAdvTime, _advInfo ? &_advInfo->_datetime : nullptr);
}

uint32_t ChapterData::timeStamp()
{
    {
        std::lock_guard lock(_mutex);
        if (_timeStamp != 0)
            return static_cast<uint32_t>(_timeStamp);
        if (_vmmInfo) {
            _timeStamp = _vmmInfo->_timeStamp;
            return static_cast<uint32_t>(_timeStamp);
        }
    }
    const auto picture = getPicture(true);
    if (!picture || !picture->video)
        return 0;
    const VideoFrame frame = picture->video->findFrame(0, 0, true);
    uint32_t stamp = 0;
    {
        std::lock_guard lock(_mutex);
        _timeStamp = frame._timeStamp;
        _isTimeStampRead = true;
        stamp = static_cast<uint32_t>(_timeStamp);
    }
    lengthInputChanged();
    return stamp;
}

// The length depends only on the trip's start-time order (fixed once sorted), on time stamps
// (fixed once found) and on the picture data (built at most once), so the first answer is the
// answer for good. Keeping it makes timeline conversions cheap enough for every playback tick.
// An answer given while a movie could not be read is not kept: a worker may read it later.
int64_t ChapterData::frameTimeSpan()
{
    return keptFrameTimeSpan(true).span;
}

ChapterData::SpanSoFar ChapterData::frameTimeSpanSoFar()
{
    return keptFrameTimeSpan(false);
}

ChapterData::SpanSoFar ChapterData::keptFrameTimeSpan(bool mayRead)
{
    if (_isFrameTimeSpanKnown.load(std::memory_order_acquire))
        return {_frameTimeSpan.load(std::memory_order_relaxed), true};
    // Two threads may work it out at once; both get the same value.
    bool complete = true;
    const auto span = computeFrameTimeSpan(complete, mayRead);
    if (complete) {
        _frameTimeSpan.store(span, std::memory_order_relaxed);
        _isFrameTimeSpanKnown.store(true, std::memory_order_release);
        lengthInputChanged();
    }
    return {span, complete};
}

std::optional<uint32_t> ChapterData::knownTimeStamp()
{
    {
        std::lock_guard lock(_mutex);
        if (_timeStamp != 0 || _isTimeStampRead)
            return static_cast<uint32_t>(_timeStamp);
        if (_vmmInfo)
            return _vmmInfo->_timeStamp;
    }
    // timeStamp() reads nothing while the driving data is held.
    return heldPicture() ? std::optional(timeStamp()) : std::nullopt;
}

int64_t ChapterData::computeFrameTimeSpan(bool &complete, bool mayRead)
{
    if (const auto next = nextChapter()) {
        const auto nextNumber = next->fileNumber();
        // The camera numbers files 1..9999 and goes on with 1 after 9999.
        const bool consecutive =
            nextNumber >= 2 ? nextNumber == _fileNumber + 1 : _fileNumber == kLastFileNumber;
        if (consecutive && next->_vmmInfo) {
            // Without a record the time stamp comes from the movie, which may not have been read.
            const auto own = mayRead ? std::optional(timeStamp()) : knownTimeStamp();
            if (!own || (!_vmmInfo && !hasPicture())) {
                complete = false;
                if (!own) {
                    bool ignored = true;
                    return ownFrameTimeSpan(ignored, false);
                }
            }
            const auto span = static_cast<int64_t>(next->timeStamp()) - static_cast<int64_t>(*own);
            // A negative difference means the camera's counter restarted between the two files;
            // such a chapter could never play, so it falls back to its own recorded span.
            if (span >= 0)
                return span;
        }
    }
    return ownFrameTimeSpan(complete, mayRead);
}

// The recording's own span: the driving data's, which the light read at the open already tells.
int64_t ChapterData::ownFrameTimeSpan(bool &complete, bool mayRead)
{
    if (const auto picture = heldPicture(); picture && picture->video)
        return static_cast<int64_t>(picture->video->_timeSpan);
    // A chapter the open did not prepare (one made alone) learns it here by the same light read.
    readOpening();
    if (const auto span = _recordingSpan.load(std::memory_order_relaxed); span >= 0)
        return span;
    if (mayRead) {
        const auto picture = getPicture(true);
        if (picture && picture->video)
            return static_cast<int64_t>(picture->video->_timeSpan);
    }
    // No driving data yet (a worker may be reading it, or will try again): a trip started meanwhile
    // takes the movie's length until the workers hand the chapter over.
    complete = false;
    return movieLength();
}

int64_t ChapterData::movieLength()
{
    int64_t length = _movieLength.load(std::memory_order_relaxed);
    if (length < 0) {
        countRead();
        length = std::max<int64_t>(0, Mp4Reader(_pathMp4.toLocalFile()).movieDurationMs().value_or(0));
        _movieLength.store(length, std::memory_order_relaxed);
        lengthInputChanged();
    }
    return length;
}

std::shared_ptr<PictureData> ChapterData::heldPicture() const
{
    std::lock_guard lock(_mutex);
    return _picture.lock();
}

namespace {
// The file-information item that marks clips cut by the trim tool.
QByteArray cutClipMark()
{
    const auto fileInfo = SettingInfo().getItem(SettingInfo::DataType::FileInfo);
    return QByteArray(reinterpret_cast<const char *>(fileInfo.data()),
                      static_cast<qsizetype>(fileInfo.size()));
}
} // namespace

std::shared_ptr<PictureData> ChapterData::buildPicture(const QUrl &path)
{
    countRead();
    // The widest time window and the MP4 reader.
    return std::make_shared<PictureData>(path, PictureData::PictureDataType::All, Date::distantPast(),
                                         Date::distantFuture(), std::make_shared<FullTimeDataInfo>(),
                                         PictureData::RecType::Yohin14Rec, cutClipMark());
}

std::optional<Date> ChapterData::readOpening()
{
    {
        std::lock_guard lock(_mutex);
        if (_openingFirstTime)
            return *_openingFirstTime;
    }
    // buildPicture reads only MP4 files with the MP4 reader.
    Mp4RecordingReader::Opening opening;
    if (_pathMove.isLocalFile() && QFileInfo(_pathMove.path()).suffix().toUpper() == QLatin1String("MP4")) {
        countRead();
        opening = Mp4RecordingReader::readOpening(_pathMove.toLocalFile(), cutClipMark());
        if (_movieLength.load(std::memory_order_relaxed) < 0)
            _movieLength.store(std::max<int64_t>(0, opening.movieDurationMs.value_or(0)),
                               std::memory_order_relaxed);
    }
    {
        std::lock_guard lock(_mutex);
        if (opening.timeSpan)
            _recordingSpan.store(*opening.timeSpan, std::memory_order_relaxed);
        _openingFirstTime = opening.firstTime;
    }
    lengthInputChanged();
    return opening.firstTime;
}

void ChapterData::reportProblem(const QString &reason) const
{
    if (reason.isEmpty())
        return;
    if (const auto trip = parent(); trip && trip->_parent)
        trip->_parent->_fileProblems.add(_pathMove.toLocalFile(), reason);
}

std::shared_ptr<PictureData> ChapterData::getPicture(bool load)
{
    if (!load) {
        std::shared_ptr<PictureData> held;
        {
            std::lock_guard lock(_mutex);
            held = _picture.lock();
        }
        if (held)
            RecentPictures::shared().keep(held);
        return held;
    }
    return loadPicture(1);
}

bool ChapterData::hasPicture() const
{
    std::lock_guard lock(_mutex);
    return _isPictureRead;
}

std::shared_ptr<const ChapterOutline> ChapterData::outline() const
{
    std::lock_guard lock(_mutex);
    return _outline;
}

std::shared_ptr<PictureData> ChapterData::retryPicture()
{
    return loadPicture(CardData::MAX_RETRY_CNT_PICTUREDATA);
}

std::shared_ptr<PictureData> ChapterData::loadPicture(int64_t maxAttempts)
{
    std::shared_ptr<PictureData> held;
    {
        std::lock_guard lock(_mutex);
        held = _picture.lock();
        // The attempt under way has not failed yet: its result is waited for below, or an on-demand
        // read during the worker's first read would find neither data nor an attempt left.
        if (!held && !_isPictureRead && _retryCntPictureData - (_isPictureBuilding ? 1 : 0) >= maxAttempts)
            return nullptr;
    }
    if (held) {
        RecentPictures::shared().keep(held);
        return held;
    }
    // One build at a time per chapter: a second caller (the main thread while the worker builds,
    // or the other way round) waits for the first and takes its result instead of reading the
    // recording again. The field lock is not held meanwhile, so other reads go on.
    std::lock_guard build(_pictureBuildMutex);
    {
        std::lock_guard lock(_mutex);
        held = _picture.lock();
        if (!held && !_isPictureRead && _retryCntPictureData >= maxAttempts)
            return nullptr;
        // Reading again what was read once is no new attempt.
        if (!held && !_isPictureRead)
            ++_retryCntPictureData;
        if (!held)
            _isPictureBuilding = true;
    }
    if (held) {
        RecentPictures::shared().keep(held);
        return held;
    }
    auto picture = buildPicture(_pathMove);
    if (picture)
        reportProblem(picture->problem);
    // The reader never fails outright; a recording it could not read has no video and counts as
    // a failed attempt, so that the chapter is not taken for done.
    if (picture && !picture->video)
        picture.reset();
    // The data never changes once read, so neither does its outline.
    std::shared_ptr<const ChapterOutline> outline;
    if (picture && !this->outline())
        outline = std::make_shared<const ChapterOutline>(ChapterOutline::of(*picture->video));
    // Without a record the length of the chapter before may need the first frame's stamp, which outlives
    // the data: a timeline asks for it after the data may have been let go.
    const std::optional<uint64_t> firstStamp =
        picture && !_vmmInfo ? std::optional<uint64_t>(picture->video->findFrame(0, 0, true)._timeStamp)
                             : std::nullopt;
    {
        std::lock_guard lock(_mutex);
        _isPictureBuilding = false;
        if (firstStamp && _timeStamp == 0) {
            _timeStamp = *firstStamp;
            _isTimeStampRead = true;
        }
        if (picture) {
            _picture = picture;
            _isPictureRead = true;
            // Kept for the timelines, which never build the data again to learn it.
            _recordingSpan.store(picture->video->_timeSpan, std::memory_order_relaxed);
            if (outline)
                _outline = std::move(outline);
        }
    }
    if (!picture)
        return nullptr;
    lengthInputChanged();
    RecentPictures::shared().keep(picture);
    return picture;
}

QString ChapterData::maskedThumbnailPath() const
{
    // One file per chapter: the movie's name plus a digest of its full path, since clips of the
    // same name may lie in different folders.
    const QByteArray digest =
        QCryptographicHash::hash(_pathMp4.toString().toUtf8(), QCryptographicHash::Sha1).toHex().left(10);
    return QDir(CommonConst::DIR_PATH_THUMB())
        .filePath(QFileInfo(_pathMp4.path()).completeBaseName() + '_' + QString::fromLatin1(digest) +
                  QStringLiteral("_cut_thum.jpeg"));
}

QImage ChapterData::maskBottomBand(const QImage &still)
{
    QImage image = still.convertToFormat(QImage::Format_RGB888);
    const int band = qRound(image.height() * MASK_HEIGHT_RATIO);
    for (int y = std::max(0, image.height() - band); y < image.height(); ++y)
        std::memset(image.scanLine(y), 0, size_t(image.width()) * 3);
    return image;
}

std::optional<QUrl> ChapterData::makeThumbnail(bool create)
{
    if (auto existing = pathThumbnail(); existing || !create)
        return existing;
    // The worker and an on-demand caller never make the same chapter's thumbnail twice at once.
    std::unique_lock build = _thumbnail.lockThumbnailBuild();
    if (auto kept = _thumbnail.pathOrCountAttempt())
        return kept;
    const std::shared_ptr<const ChapterOutline> read = outline();
    const QUrl folder = QUrl::fromLocalFile(CommonConst::DIR_PATH_THUMB());
    QString problem;
    const auto trip = parent();
    const std::atomic<bool> *cancel = trip && trip->_parent ? &trip->_parent->_isDispose : nullptr;
    auto result = AVUtil::saveThumbnail(_pathMp4, 1, folder, cancel, &problem);
    if (!result || !result->isLocalFile()) {
        reportProblem(problem);
        return std::nullopt;
    }

    // A clip cut by the trim tool carries burnt-in text at the bottom of its picture; its
    // thumbnail covers it with a black band 30/1080 of the height.
    if (read && read->isCutVideo) {
        // A still that cannot be read back keeps its unmasked file.
        if (const QImage still(result->toLocalFile()); !still.isNull()) {
            const QString masked = maskedThumbnailPath();
            if (!JpegFile::write(maskBottomBand(still), masked))
                return std::nullopt;
            result = QUrl::fromLocalFile(masked);
        }
    }
    _thumbnail.setPathThumbnail(result);
    build.unlock();
    if (const auto receiver = delegate())
        receiver->thumbnailCreated(*this);
    return result;
}

void ChapterData::sortByStartTime(std::vector<std::shared_ptr<ChapterData>> &chapters)
{
    // Read every start time once: each read may build picture data for a chapter without a record.
    std::vector<std::pair<Date, std::shared_ptr<ChapterData>>> keyed;
    keyed.reserve(chapters.size());
    for (auto &chapter : chapters)
        keyed.emplace_back(chapter->startTime(), std::move(chapter));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        chapters[i] = std::move(keyed[i].second);
}

std::optional<QUrl> ChapterData::pathThumbnail() const
{
    return _thumbnail.pathThumbnail();
}

void ChapterData::setPathThumbnail(std::optional<QUrl> path)
{
    const bool takenBack = !path && pathThumbnail();
    _thumbnail.setPathThumbnail(std::move(path));
    // The thumbnail worker has passed this chapter by as done: tell it to look again.
    if (const auto trip = parent(); takenBack && trip && trip->_parent)
        ++trip->_parent->_thumbnailsGivenBack;
}

int64_t ChapterData::retryCntPictureData() const
{
    std::lock_guard lock(_mutex);
    return _retryCntPictureData;
}

bool ChapterData::takePictureReport()
{
    return hasPicture() && !_isPictureReported.exchange(true);
}

int64_t ChapterData::retryCntThumbnail() const
{
    return _thumbnail.retryCntThumbnail();
}

void ChapterData::addRetryCntThumbnail()
{
    _thumbnail.addRetryCntThumbnail();
}

std::shared_ptr<ChapterDataDelegate> ChapterData::delegate() const
{
    std::lock_guard lock(_mutex);
    return _delegate.lock();
}

void ChapterData::setDelegate(const std::shared_ptr<ChapterDataDelegate> &delegate)
{
    std::lock_guard lock(_mutex);
    _delegate = delegate;
}
