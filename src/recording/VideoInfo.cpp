#include "recording/VideoInfo.h"

#include "recording/BcdPosition.h"
#include "recording/DividedDatReader.h"
#include "recording/EventRecordingReader.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/LegacyFrameFileReader.h"
#include "recording/MovieDatReader.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/Regex.h"
#include "recording/VersionInfo.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString NO_PICTURE_DATA = QStringLiteral("画像データがありません。");
const QString BAD_PICTURE_DETAIL = QStringLiteral("正常な画像詳細情報ではありません。");

QByteArray bytesOf(std::initializer_list<uint8_t> values)
{
    QByteArray b;
    for (uint8_t v : values)
        b.append(char(v));
    return b;
}

} // namespace

namespace {

std::shared_ptr<const CameraKeys> placeholderTable(const VideoFrame &frame)
{
    auto table = std::make_shared<CameraKeys>();
    table->keys = {0};
    table->placeholder = frame;
    return table;
}

} // namespace

VideoInfo::VideoInfo()
    : _jpegHeader(bytesOf(
          {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0xA2, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01})),
      _jpegHeader12(bytesOf(
          {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x84, 0x00, 0x10, 0x0B, 0x0C, 0x0E, 0x0C, 0x0A, 0x10, 0x0E, 0x0D})),
      _pool(std::make_shared<FramePool>())
{
    _cameraFrames[1] = placeholderTable(VideoFrame());
}

FrameTable VideoInfo::cameraFramesLocked(int number)
{
    auto it = _cameraFrames.find(number);
    if (it == _cameraFrames.end()) {
        it = _cameraFrames.emplace(number, placeholderTable(VideoFrame())).first;
    } else if (it->second->keys.empty()) {
        VideoFrame frame;
        frame.time = _playback.detectTime;
        it->second = placeholderTable(frame);
    }
    return FrameTable(_pool, it->second);
}

VideoFrame VideoInfo::placeholderLocked(int number)
{
    _cameraFrames[number] = placeholderTable(VideoFrame());
    return VideoFrame();
}

FrameTable VideoInfo::getCameraFrames(int number)
{
    std::lock_guard lock(_framesMutex);
    return cameraFramesLocked(number);
}

VideoFrame VideoInfo::findFrame(int number, int64_t position, bool /*search*/)
{
    std::lock_guard lock(_framesMutex);
    if (number >= 0 && size_t(number) < _indexed.size()) {
        const std::vector<int32_t> &keys = _indexed[size_t(number)]->keys;
        if (keys.empty())
            return placeholderLocked(number);
        // First key not below the position, then step back unless it is the position itself.
        auto i = std::lower_bound(keys.begin(), keys.end(), position,
                                  [](int32_t key, int64_t pos) { return int64_t(key) < pos; }) -
                 keys.begin();
        i = std::min<ptrdiff_t>(i, ptrdiff_t(keys.size()) - 1);
        if (keys[size_t(i)] > position)
            --i;
        const FrameTable table = cameraFramesLocked(number);
        if (i >= 0) {
            if (auto frame = table.find(keys[size_t(i)]))
                return std::move(*frame);
        }
        if (auto zero = table.find(0))
            return std::move(*zero);
        return placeholderLocked(number);
    }

    const auto found = _cameraFrames.find(number);
    if (found == _cameraFrames.end())
        return placeholderLocked(number);
    const FrameTable table(_pool, found->second);
    int64_t lower = 0;
    for (const int32_t key : table.keys()) {
        if (key < position) {
            lower = key;
            continue;
        }
        const int64_t d1 = std::max<int64_t>(position - lower, 0);
        const int64_t d2 = int64_t(key) - position;
        const int64_t chosen = d2 < d1 ? key : lower; // a tie keeps the lower key
        if (auto frame = table.find(chosen))
            return std::move(*frame);
    }
    if (auto frame = table.find(lower))
        return std::move(*frame);
    return placeholderLocked(number);
}

std::vector<int> VideoInfo::cameraNumbers() const
{
    std::lock_guard lock(_framesMutex);
    std::vector<int> numbers;
    for (const auto &entry : _cameraFrames)
        numbers.push_back(entry.first);
    return numbers;
}

void VideoInfo::setFrames(std::shared_ptr<const FramePool> pool, std::map<int, CameraKeys> tables)
{
    std::map<int, std::shared_ptr<const CameraKeys>> stored;
    std::vector<std::shared_ptr<const CameraKeys>> distinct;
    for (auto &entry : tables) {
        CameraKeys &table = entry.second;
        const auto same = std::find_if(distinct.begin(), distinct.end(),
                                       [&table](const auto &kept) { return kept->sameAs(table); });
        if (same != distinct.end()) {
            stored[entry.first] = *same;
            continue;
        }
        distinct.push_back(std::make_shared<const CameraKeys>(std::move(table)));
        stored[entry.first] = distinct.back();
    }
    std::lock_guard lock(_framesMutex);
    _pool = std::move(pool);
    for (auto &[number, table] : stored)
        _cameraFrames[number] = std::move(table);
}

void VideoInfo::setCameraFrames(int number, const std::map<int, VideoFrame> &frames)
{
    std::lock_guard lock(_framesMutex);
    auto pool = std::make_shared<FramePool>(*_pool);
    std::vector<std::pair<int, uint32_t>> pairs;
    for (const auto &[key, frame] : frames)
        pairs.emplace_back(key, pool->add(frame));
    CameraKeys table = CameraKeys::fromPairs(std::move(pairs));
    _pool = std::move(pool);
    _cameraFrames[number] = std::make_shared<const CameraKeys>(std::move(table));
}

void VideoInfo::editFrames(
    int number, const std::function<void(std::span<const int32_t>, std::vector<VideoFrame> &)> &edit)
{
    std::lock_guard lock(_framesMutex);
    const auto found = _cameraFrames.find(number);
    if (found == _cameraFrames.end())
        return;
    if (found->second->placeholder) {
        std::vector<VideoFrame> frames{*found->second->placeholder};
        edit(found->second->keys, frames);
        found->second = placeholderTable(frames.front());
        return;
    }
    const CameraKeys &table = *found->second;
    std::vector<int32_t> keys;
    std::vector<uint32_t> indices;
    std::vector<VideoFrame> frames;
    for (size_t i = 0; i < table.keys.size(); ++i) {
        if (table.slot(i) & FramePool::REPEAT_BIT)
            continue;
        keys.push_back(table.keys[i]);
        indices.push_back(table.slot(i));
        frames.push_back(_pool->at(indices.back()));
    }
    edit(keys, frames);
    // Lookups in flight keep the pool they hold, so a shared pool's edited frames go into a copy. A
    // pool no one else holds (the reader's own while the driving data is built, edited three times
    // per chapter) is edited where it is: no copy of every frame, no freed original left behind.
    const std::shared_ptr<FramePool> pool = _pool.use_count() == 1 ? std::const_pointer_cast<FramePool>(_pool)
                                                                   : std::make_shared<FramePool>(*_pool);
    for (size_t i = 0; i < indices.size(); ++i)
        pool->replace(indices[i], frames[i]);
    _pool = pool;
}

void VideoInfo::rebuildKeyLists()
{
    std::lock_guard lock(_framesMutex);
    _indexed.clear();
    for (const auto &entry : _cameraFrames)
        _indexed.push_back(entry.second);
}

size_t VideoInfo::frameBytes() const
{
    std::lock_guard lock(_framesMutex);
    size_t bytes = sizeof(FramePool) + _pool->heapBytes();
    std::vector<const CameraKeys *> counted;
    for (const auto &entry : _cameraFrames) {
        if (std::find(counted.begin(), counted.end(), entry.second.get()) != counted.end())
            continue;
        counted.push_back(entry.second.get());
        bytes += sizeof(CameraKeys) + entry.second->keys.capacity() * sizeof(int32_t) +
                 entry.second->indices.capacity() * sizeof(uint32_t);
    }
    return bytes;
}

std::vector<VideoFrame> VideoInfo::convertDictionary(const FrameTable &frames)
{
    std::vector<VideoFrame> list;
    list.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        list.push_back(frames.frame(i));
    return list;
}

DetectionType VideoInfo::getDetectType(uint8_t type)
{
    switch (type) {
    case 10:
        return DetectionType::GSensor;
    case 11:
        return DetectionType::SpeedTrigger;
    case 17:
        return DetectionType::Movie;
    case 20:
        return DetectionType::ExtSW;
    case 21:
        return DetectionType::D1;
    case 22:
        return DetectionType::D2;
    case 23:
        return DetectionType::D3;
    case 24:
        return DetectionType::D4;
    case 30:
        return DetectionType::ExtTrigger;
    case 32:
        return DetectionType::UrgencySW;
    default:
        return DetectionType::None;
    }
}

CameraKeys VideoInfo::makeFrameTable(FramePool &pool, std::span<const uint32_t> indices, int64_t base,
                                     int64_t step, int32_t &longitude, int32_t &latitude)
{
    std::vector<std::pair<int, uint32_t>> pairs;
    pairs.reserve(indices.size() + 1);
    int64_t movie = 0;
    for (const uint32_t slot : indices) {
        VideoFrame frame = pool.at(slot);
        const int key = int(int64_t(frame._timeStamp) - base);
        bool changed = false;
        if (step > 0) {
            frame._movieTimeStamp = uint32_t(movie);
            movie += step;
            changed = true;
        }
        if (pairs.empty())
            pairs.emplace_back(0, slot);
        pairs.emplace_back(key, slot);
        if (longitude == 0) {
            latitude = 0;
        } else if (longitude != -1 && frame._longitude == 0) {
            frame._longitude = longitude;
            frame._latitude = latitude;
            changed = true;
        }
        if (changed)
            pool.replace(slot, frame);
    }
    return CameraKeys::fromPairs(std::move(pairs));
}

int64_t VideoInfo::locateDetection(uint32_t first, uint32_t last)
{
    if (_playback.detectionType == DetectionType::Movie)
        return 0;
    const int64_t r = _playback.detectPosition - int64_t(first);
    const int64_t p = (r >= 1 && r < int64_t(last)) ? r : 0;
    int64_t located = 0;
    getCameraFrames(0); // a missing or empty table becomes its placeholder, as before any lookup
    editFrames(0, [&](std::span<const int32_t> keys, std::vector<VideoFrame> &frames) {
        int64_t lower = 0;
        for (size_t i = 0; i < keys.size(); ++i) {
            const int64_t key = keys[i];
            if (key == p) {
                frames[i].gDetected = true;
                located = p;
                return;
            }
            if (key < p) {
                lower = key;
                continue;
            }
            // The first key above p: the nearer neighbour, a tie going to the later key.
            const int64_t chosen = (p - lower < key - p) ? lower : key;
            const auto at = std::find(keys.begin(), keys.end(), chosen);
            if (at != keys.end())
                frames[size_t(at - keys.begin())].gDetected = true;
            located = chosen;
            return;
        }
    });
    return located;
}

TargetType VideoInfo::getTargetType(const QUrl &filePath)
{
    const QString name = QFileInfo(filePath.path()).fileName();
    if (name == CommonConst::EVT_FILENAME)
        return TargetType::Common;
    static const Regex movieName(QStringLiteral("^") + CommonConst::MOVIE_FILENAME_PRE +
                                 QStringLiteral("([0-9]{12})-([0-9]{4}).DAT$"));
    if (movieName.matches(name))
        return TargetType::Common;
    static const Regex gyomuName(QStringLiteral("^[GVSEM]([0-9]{12})([0-9]{4}).DAT$"));
    if (gyomuName.matches(name))
        return TargetType::Gyomu12;
    return TargetType::None;
}

std::shared_ptr<VideoInfo> VideoInfo::fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors,
                                               const Date &left, const Date &right,
                                               PictureData::PictureDataType pictureDataType,
                                               FullTimeDataInfo &fullTimeDataInfo,
                                               PictureData::RecType recType, const QByteArray &fileData,
                                               QString *problem)
{
    if (!path.isLocalFile()) {
        errors.append(NO_PICTURE_DATA);
        return nullptr;
    }
    bool isError = false;
    std::shared_ptr<VideoInfo> info;
    const bool isMp4 = QFileInfo(path.path()).suffix().toUpper() == QStringLiteral("MP4");
    if (recType == PictureData::RecType::Yohin14Rec && isMp4)
        info = readFileYohin14Move(path, ver, left, right, pictureDataType, fullTimeDataInfo, isError,
                                   fileData, problem);
    else if (recType == PictureData::RecType::EventRec)
        info = readFileEvent(path, ver, left, right, pictureDataType, fullTimeDataInfo, isError);
    else
        info = readFile0401Move(path, ver, left, right, pictureDataType, fullTimeDataInfo, isError);
    if (!info || info->_timeSpan == 0 || isError)
        errors.append(BAD_PICTURE_DETAIL);
    return info;
}

std::shared_ptr<VideoInfo> VideoInfo::readFileYohin14Move(const QUrl &filePath, const VersionInfo &,
                                                          const Date &left, const Date &right,
                                                          PictureData::PictureDataType, FullTimeDataInfo &,
                                                          bool &isError, const QByteArray &fileData,
                                                          QString *problem)
{
    return Mp4RecordingReader::read(filePath.toLocalFile(), left, right, isError, fileData, problem);
}

// --- The DAT layouts ---

std::shared_ptr<VideoInfo> VideoInfo::fromFile(const QUrl &path, const VersionInfo &, QStringList &errors,
                                               const Date &left, const Date &right,
                                               PictureData::PictureDataType pictureDataType,
                                               FullTimeDataInfo &fullTimeDataInfo)
{
    if (!path.isLocalFile()) {
        errors.append(NO_PICTURE_DATA);
        return nullptr;
    }
    bool isError = false;
    auto info = readFileOther(path, left, right, pictureDataType, fullTimeDataInfo, isError);
    if (!info || info->_timeSpan == 0 || isError)
        errors.append(BAD_PICTURE_DETAIL);
    return info;
}

std::shared_ptr<VideoInfo> VideoInfo::fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors,
                                               const Date &left, const Date &right,
                                               PictureData::PictureDataType pictureDataType)
{
    FullTimeDataInfo fullTimeDataInfo;
    return fromFile(path, ver, errors, left, right, pictureDataType, fullTimeDataInfo);
}

std::shared_ptr<VideoInfo> VideoInfo::fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors)
{
    const Date end = Date::fromDateTime(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    return fromFile(path, ver, errors, Date::now(), end, PictureData::PictureDataType::All);
}

std::shared_ptr<VideoInfo> VideoInfo::fromFile(const QUrl &path, const VersionInfo &ver)
{
    QStringList errors;
    return fromFile(path, ver, errors);
}

std::shared_ptr<VideoInfo> VideoInfo::fromDivisionFile(const QUrl &path, QStringList &errors)
{
    return DividedDatReader::fromDivisionFile(path, errors);
}

std::shared_ptr<VideoInfo> VideoInfo::readFile0401Move(const QUrl &filePath, const VersionInfo &,
                                                       const Date &left, const Date &right,
                                                       PictureData::PictureDataType pictureDataType,
                                                       FullTimeDataInfo &fullTimeDataInfo, bool &isError)
{
    return MovieDatReader::read(filePath.toLocalFile(), left, right, pictureDataType, &fullTimeDataInfo,
                                isError);
}

std::shared_ptr<VideoInfo> VideoInfo::readFileEvent(const QUrl &filePath, const VersionInfo &,
                                                    const Date &left, const Date &right,
                                                    PictureData::PictureDataType pictureDataType,
                                                    FullTimeDataInfo &fullTimeDataInfo, bool &isError)
{
    return EventRecordingReader::readFileEvent(filePath.toLocalFile(), left, right, pictureDataType,
                                               &fullTimeDataInfo, isError);
}

std::shared_ptr<VideoInfo> VideoInfo::readFileOther(const QUrl &filePath, const Date &left, const Date &right,
                                                    PictureData::PictureDataType pictureDataType,
                                                    FullTimeDataInfo &fullTimeDataInfo, bool &isError)
{
    return LegacyFrameFileReader::readFileOther(filePath.toLocalFile(), left, right, pictureDataType,
                                                &fullTimeDataInfo, isError);
}

int64_t VideoInfo::convertLongitude(const QString &longitude)
{
    return BcdPosition::convertLongitude(longitude);
}

int64_t VideoInfo::convertLatitude(const QString &latitude)
{
    return BcdPosition::convertLatitude(latitude);
}

CameraKeys VideoInfo::makeMovieFrameTable(FramePool &pool, std::span<const uint32_t> indices, uint32_t base,
                                          float fps, size_t maxFrames)
{
    // Gaps inside a block longer than this are a broken counter, not dropped frames: they are left open,
    // which also bounds the repeats a corrupt file can make.
    constexpr uint64_t MAX_FILL_GAP_MS = 2000;
    if (indices.empty())
        return {};
    const uint32_t interval = fps > 0.0f ? uint32_t(std::ceil(1000.0f / fps)) : 1000u;

    // (slot, counter, block) of each frame in filing order, repeats included.
    struct Filed
    {
        uint32_t slot;
        uint32_t timeStamp;
        int32_t blockNo;
    };
    std::vector<Filed> filed;
    filed.reserve(std::min(indices.size() + indices.size() / 8, std::max(maxFrames, indices.size())));
    // The repeats of all gaps together stay within the frames the movie's length allows.
    size_t repeatsLeft = maxFrames > indices.size() ? maxFrames - indices.size() : 0;
    std::vector<VideoFrame> frames;
    frames.reserve(indices.size());
    for (const uint32_t slot : indices)
        frames.push_back(pool.at(slot));
    Filed previous{indices.front(), frames.front()._timeStamp, frames.front().blockNo};
    for (size_t i = 0; i < indices.size(); ++i) {
        const VideoFrame &frame = frames[i];
        if (previous.blockNo == frame.blockNo && frame._timeStamp > previous.timeStamp &&
            uint64_t(frame._timeStamp) - previous.timeStamp <= MAX_FILL_GAP_MS) {
            while (repeatsLeft > 0 && uint64_t(previous.timeStamp) + interval < frame._timeStamp) {
                --repeatsLeft;
                previous = {previous.slot | FramePool::REPEAT_BIT, previous.timeStamp + interval,
                            previous.blockNo};
                filed.push_back(previous);
            }
        }
        previous = {indices[i], frame._timeStamp, frame.blockNo};
        filed.push_back(previous);
    }

    // Each block is one second of movie: its frames are measured from the block's own first frame.
    std::map<int32_t, uint32_t> blockStart;
    std::vector<std::pair<int, uint32_t>> pairs;
    pairs.reserve(filed.size() + 1);
    size_t next = 0; // the next of frames in filed order
    for (const Filed &f : filed) {
        const uint32_t start = blockStart.try_emplace(f.blockNo, f.timeStamp).first->second;
        const uint32_t movie = uint32_t(int64_t(f.blockNo - 1) * 1000) + (f.timeStamp - start);
        uint32_t slot = f.slot;
        if (slot & FramePool::REPEAT_BIT) {
            slot = pool.addRepeat(slot & ~FramePool::REPEAT_BIT, f.timeStamp, movie);
        } else {
            VideoFrame &frame = frames[next++];
            frame._movieTimeStamp = movie;
            pool.replace(slot, frame);
        }
        if (pairs.empty())
            pairs.emplace_back(0, slot);
        pairs.emplace_back(int(int64_t(f.timeStamp) - int64_t(base)), slot);
    }
    return CameraKeys::fromPairs(std::move(pairs));
}
