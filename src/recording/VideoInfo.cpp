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

VideoInfo::VideoInfo()
    : _jpegHeader(bytesOf(
          {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0xA2, 0x00, 0x00, 0x01, 0x05, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01})),
      _jpegHeader12(bytesOf(
          {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x84, 0x00, 0x10, 0x0B, 0x0C, 0x0E, 0x0C, 0x0A, 0x10, 0x0E, 0x0D})),
      _thumbnail(std::make_shared<VideoFrame>())
{
    _cameraFrames[1] = std::make_shared<const FrameTable>(FrameTable{{0, std::make_shared<VideoFrame>()}});
}

FrameTablePtr VideoInfo::cameraFramesLocked(int number)
{
    const auto it = _cameraFrames.find(number);
    if (it == _cameraFrames.end()) {
        auto table = std::make_shared<const FrameTable>(FrameTable{{0, std::make_shared<VideoFrame>()}});
        _cameraFrames[number] = table;
        return table;
    }
    if (it->second->empty()) {
        auto frame = std::make_shared<VideoFrame>();
        frame->time = _playback.detectTime;
        it->second = std::make_shared<const FrameTable>(FrameTable{{0, frame}});
    }
    return it->second;
}

FrameTablePtr VideoInfo::placeholderLocked(int number)
{
    auto table = std::make_shared<const FrameTable>(FrameTable{{0, std::make_shared<VideoFrame>()}});
    _cameraFrames[number] = table;
    return table;
}

FrameTablePtr VideoInfo::getCameraFrames(int number)
{
    std::lock_guard lock(_framesMutex);
    return cameraFramesLocked(number);
}

VideoFramePtr VideoInfo::findFrame(int number, int64_t position, bool /*search*/)
{
    std::lock_guard lock(_framesMutex);
    if (number >= 0 && size_t(number) < arrayCamera.size()) {
        const std::vector<int> &keys = arrayCamera[size_t(number)];
        if (keys.empty())
            return placeholderLocked(number)->begin()->second;
        // First key not below the position, then step back unless it is the position itself.
        auto i = std::lower_bound(keys.begin(), keys.end(), position,
                                  [](int key, int64_t pos) { return int64_t(key) < pos; }) -
                 keys.begin();
        i = std::min<ptrdiff_t>(i, ptrdiff_t(keys.size()) - 1);
        if (keys[size_t(i)] > position)
            --i;
        const FrameTablePtr table = cameraFramesLocked(number);
        if (i >= 0) {
            const auto it = table->find(keys[size_t(i)]);
            if (it != table->end())
                return it->second;
        }
        const auto zero = table->find(0);
        if (zero != table->end())
            return zero->second;
        return placeholderLocked(number)->begin()->second;
    }

    const auto found = _cameraFrames.find(number);
    if (found == _cameraFrames.end())
        return placeholderLocked(number)->begin()->second;
    const FrameTablePtr table = found->second;
    int64_t lower = 0;
    for (const auto &[key, frame] : *table) {
        if (key < position) {
            lower = key;
            continue;
        }
        const int64_t d1 = std::max<int64_t>(position - lower, 0);
        const int64_t d2 = int64_t(key) - position;
        const int64_t chosen = d2 < d1 ? key : lower; // a tie keeps the lower key
        const auto it = table->find(int(chosen));
        if (it != table->end())
            return it->second;
    }
    const auto it = table->find(int(lower));
    if (it != table->end())
        return it->second;
    return placeholderLocked(number)->begin()->second;
}

std::vector<int> VideoInfo::cameraNumbers() const
{
    std::lock_guard lock(_framesMutex);
    std::vector<int> numbers;
    for (const auto &entry : _cameraFrames)
        numbers.push_back(entry.first);
    return numbers;
}

void VideoInfo::setCameraFrames(int number, FrameTable table)
{
    auto shared = std::make_shared<const FrameTable>(std::move(table));
    std::lock_guard lock(_framesMutex);
    _cameraFrames[number] = std::move(shared);
}

void VideoInfo::rebuildKeyLists()
{
    const auto keysOf = [](const FrameTable &table) {
        std::vector<int> keys;
        keys.reserve(table.size());
        for (const auto &entry : table)
            keys.push_back(entry.first);
        return keys;
    };
    std::lock_guard lock(_framesMutex);
    arrayCamera.clear();
    for (const auto &entry : _cameraFrames)
        arrayCamera.push_back(keysOf(*entry.second));
    arraySound.clear();
    for (const auto &entry : _soundFrames)
        arraySound.push_back(keysOf(entry.second));
}

std::vector<VideoFramePtr> VideoInfo::convertDictionary(const FrameTable &frames)
{
    std::vector<VideoFramePtr> list;
    list.reserve(frames.size());
    for (const auto &entry : frames)
        list.push_back(entry.second);
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

FrameTable VideoInfo::makeFrameTable(const std::vector<VideoFramePtr> &frames, int64_t base, int64_t step,
                                     int32_t &longitude, int32_t &latitude)
{
    FrameTable table;
    int64_t movie = 0;
    for (const VideoFramePtr &frame : frames) {
        const int key = int(int64_t(frame->_timeStamp) - base);
        if (step > 0) {
            frame->_movieTimeStamp = uint32_t(movie);
            movie += step;
        }
        // Only the first frame can find key 0 empty; the keys mostly come in ascending order.
        if (table.empty())
            table.try_emplace(0, frame);
        table.try_emplace(table.end(), key, frame);
        if (longitude == 0) {
            latitude = 0;
        } else if (longitude != -1 && frame->_longitude == 0) {
            frame->_longitude = longitude;
            frame->_latitude = latitude;
        }
    }
    return table;
}

int64_t VideoInfo::locateDetection(uint32_t first, uint32_t last)
{
    if (_playback.detectionType == DetectionType::Movie)
        return 0;
    const int64_t r = _playback.detectPosition - int64_t(first);
    const int64_t p = (r >= 1 && r < int64_t(last)) ? r : 0;
    const FrameTablePtr table = getCameraFrames(0);
    int64_t lower = 0;
    for (const auto &[key, frame] : *table) {
        if (key == p) {
            frame->gDetected = true;
            return p;
        }
        if (key < p) {
            lower = key;
            continue;
        }
        // The first key above p: the nearer neighbour, a tie going to the later key.
        const int64_t chosen = (p - lower < key - p) ? lower : key;
        const auto it = table->find(int(chosen));
        if (it != table->end())
            it->second->gDetected = true;
        return chosen;
    }
    return 0;
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

FrameTable VideoInfo::makeMovieFrameTable(const std::vector<VideoFramePtr> &frames, uint32_t base, float fps,
                                          size_t maxFrames)
{
    // Gaps inside a block longer than this are a broken counter, not dropped frames: they are left open,
    // which also bounds the copies a corrupt file can make.
    constexpr uint64_t MAX_FILL_GAP_MS = 2000;
    FrameTable table;
    if (frames.empty())
        return table;
    const uint32_t interval = fps > 0.0f ? uint32_t(std::ceil(1000.0f / fps)) : 1000u;

    std::vector<VideoFramePtr> filled;
    filled.reserve(std::min(frames.size() + frames.size() / 8, std::max(maxFrames, frames.size())));
    // The copies of all gaps together stay within the frames the movie's length allows.
    size_t copiesLeft = maxFrames > frames.size() ? maxFrames - frames.size() : 0;
    VideoFramePtr previous = frames.front();
    for (const VideoFramePtr &frame : frames) {
        if (previous->blockNo == frame->blockNo && frame->_timeStamp > previous->_timeStamp &&
            uint64_t(frame->_timeStamp) - previous->_timeStamp <= MAX_FILL_GAP_MS) {
            while (copiesLeft > 0 && uint64_t(previous->_timeStamp) + interval < frame->_timeStamp) {
                --copiesLeft;
                auto copy = std::make_shared<VideoFrame>(*previous);
                copy->_timeStamp = previous->_timeStamp + interval;
                filled.push_back(copy);
                previous = std::move(copy);
            }
        }
        filled.push_back(frame);
        previous = frame;
    }

    // Each block is one second of movie: its frames are measured from the block's own first frame.
    std::map<int32_t, uint32_t> blockStart;
    for (const VideoFramePtr &frame : filled) {
        const uint32_t start = blockStart.try_emplace(frame->blockNo, frame->_timeStamp).first->second;
        frame->_movieTimeStamp = uint32_t(int64_t(frame->blockNo - 1) * 1000) + (frame->_timeStamp - start);
        if (table.empty())
            table.try_emplace(0, filled.front());
        table.try_emplace(table.end(), int(int64_t(frame->_timeStamp) - int64_t(base)), frame);
    }
    return table;
}
