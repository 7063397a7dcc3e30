#include "recording/Mp4RecordingReader.h"

#include "recording/CutClipReader.h"
#include "recording/DataUtility.h"
#include "recording/Mp4Reader.h"
#include "recording/VideoInfo.h"

#include "platform/PlatformError.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr uint32_t SMALLEST_START = 0x7FFFFFFF;

std::optional<uint8_t> bcd(uint8_t value)
{
    // The same rule as DataUtility::bcdToInt, without an exception per bad byte in the frame loop.
    if ((value >> 4) > 9 || (value & 0x0F) > 9)
        return std::nullopt;
    return uint8_t((value >> 4) * 10 + (value & 0x0F));
}

} // namespace

// 24-bit position word: bit 23 is the west or south flag, bits 0-22 the magnitude.
int32_t Mp4RecordingReader::signedPosition(std::span<const uint8_t> record, qsizetype offset,
                                           uint16_t &negativeFlag)
{
    const int32_t word = DataUtility::getUInt24(record, offset);
    const int32_t magnitude = word & 0x7FFFFF;
    negativeFlag = (word & 0x800000) ? 1 : 0;
    return negativeFlag ? -magnitude : magnitude;
}

ViolationType Mp4RecordingReader::violationOfCode(uint8_t code)
{
    switch (code) {
    case 10:
        return ViolationType::GDetection;
    case 11:
        return ViolationType::VelocityGDetection;
    case 12:
        return ViolationType::Accel;
    case 13:
        return ViolationType::Decel;
    case 14:
    case 15:
        return ViolationType::Overspeed;
    case 16:
        return ViolationType::Swerve;
    default:
        return ViolationType::All;
    }
}

namespace {

// What one data block contributes: its kept frames and their time and counter range.
struct BlockAccumulator
{
    Date firstTime = Date::distantPast();
    Date lastTime = Date::distantPast();
    uint32_t smallest = SMALLEST_START;
    uint32_t largest = 0;
    bool powerDown = false;
    std::vector<VideoFrame> frames;
};

QString tooManyFrames()
{
    return QCoreApplication::translate("Mp4RecordingReader",
                                       "holds more driving data than its movie's length allows");
}

} // namespace

bool Mp4RecordingReader::decodeHeader(std::span<const uint8_t> header, VideoInfo &info, bool &isError)
{
    if (header.size() <= 64)
        return false;
    PlaybackInfo &playback = info._playback;
    if (const auto code = bcd(header[0])) {
        info.detectType = *code;
        playback.detectionType = VideoInfo::getDetectType(*code);
    }
    playback.detectTime = DataUtility::getUnixDate(header, 2);
    if (const auto sw = bcd(header[30]))
        info.sw = *sw;
    playback.detectPosition = DataUtility::getUInt32(header, 40);

    const size_t count = header[64];
    // A header that announces more items than it holds is cut short: the items present are read.
    const size_t present =
        header.size() > HEADER_ITEMS_OFFSET ? (header.size() - HEADER_ITEMS_OFFSET) / 8 : 0;
    if (present < count)
        isError = true;
    for (size_t i = 0; i < std::min(count, present); ++i) {
        const auto item = header.subspan(HEADER_ITEMS_OFFSET + 8 * i, 8);
        const auto high = bcd(item[0]);
        const auto low = bcd(item[1]);
        if (!high || !low)
            continue;
        if (*high == 0 && *low == 1) {
            info._fileVersion = DataUtility::toHexString(item.subspan(2, 2));
        } else if (*high == 1 && *low == 9) {
            info._terminalType = item[2] == 1 ? TerminalType::Separate : TerminalType::AllInOne;
        } else if (*high == 10 && *low == 3) {
            switch (item[2]) {
            case 0:
                info._recMode = CommonConst::RecMode::HighQuality;
                break;
            case 2:
                info._recMode = CommonConst::RecMode::LongRec;
                break;
            default:
                info._recMode = CommonConst::RecMode::Nomal;
                break;
            }
        }
    }
    return true;
}

VideoFrame Mp4RecordingReader::decodeRecord(std::span<const uint8_t> record, int32_t blockNo, bool &isError)
{
    VideoFrame result;
    VideoFrame *frame = &result;
    frame->blockNo = blockNo;
    frame->time = DataUtility::getUnixDate(record, 2);
    if (!(record[6] == 0xFF && record[7] == 0xFF && record[8] == 0xFF)) {
        frame->_longitude = signedPosition(record, 6, frame->_posWest);
        frame->_latitude = signedPosition(record, 9, frame->_posSouth);
    }
    frame->speed = DataUtility::getUInt16(record, 12) / 10;
    frame->gX = DataUtility::gValueOfSample(DataUtility::getUInt16(record, 16)) / 1000.0;
    frame->gY = DataUtility::gValueOfSample(DataUtility::getUInt16(record, 18)) / 1000.0;
    // The camera stores Z with gravity (1000 mg) added.
    frame->gZ = int16_t(DataUtility::gValueOfSample(DataUtility::getUInt16(record, 20)) - 1000) / 1000.0;
    frame->sw = record[30];
    const uint8_t flags = record[31];
    frame->powerDown = flags & 0x01;
    frame->_gps2 = flags & 0x02;
    frame->gps = flags & 0x04;
    frame->pictureChannel = record[32];
    frame->frameSize = DataUtility::getUInt32(record, 36);
    frame->_timeStamp = DataUtility::getUInt32(record, 40);
    frame->_id = record[44];
    if (const auto code = bcd(record[45])) {
        frame->ex.violationType = violationOfCode(*code);
        if (frame->ex.violationType == ViolationType::Overspeed) {
            // Byte 46 qualifies an overspeed code; a non-zero value withdraws it.
            if (const auto sub = bcd(record[46])) {
                if (*sub != 0)
                    frame->ex.violationType = ViolationType::All;
            } else {
                isError = true;
            }
        }
    } else {
        isError = true;
    }
    return result;
}

size_t Mp4RecordingReader::maxFramesFor(int64_t durationMs)
{
    constexpr int64_t CAMERAS = 2;
    constexpr int64_t FPS = 30;
    constexpr int64_t MARGIN_FRAMES = 10 * FPS;
    const int64_t seconds = (std::max<int64_t>(durationMs, 0) + 999) / 1000;
    return size_t(CAMERAS * seconds * FPS + MARGIN_FRAMES);
}

std::shared_ptr<VideoInfo> Mp4RecordingReader::read(const QString &path, const Date &left, const Date &right,
                                                    bool &isError, const QByteArray &fileData,
                                                    QString *problem)
{
    const Mp4Reader reader(path);
    return read(reader, left, right, isError, fileData, problem);
}

std::shared_ptr<VideoInfo> Mp4RecordingReader::read(std::span<const uint8_t> bytes, const Date &left,
                                                    const Date &right, bool &isError,
                                                    const QByteArray &fileData, QString *problem)
{
    const Mp4Reader reader(bytes);
    return read(reader, left, right, isError, fileData, problem);
}

std::shared_ptr<VideoInfo> Mp4RecordingReader::read(const Mp4Reader &reader, const Date &left,
                                                    const Date &right, bool &isError,
                                                    const QByteArray &fileData, QString *problem)
{
    // Whatever the reader could not read is the reason there is no recording; a file it read
    // whole simply holds none.
    const auto failed = [&reader, problem]() -> std::shared_ptr<VideoInfo> {
        if (problem)
            *problem = !reader.error().isEmpty()
                           ? reader.error()
                           : QCoreApplication::translate("Mp4RecordingReader", "holds no driving data");
        return nullptr;
    };
    auto info = std::make_shared<VideoInfo>();
    info->_playback = PlaybackInfo();

    const auto payload = reader.readPayload(Mp4Reader::BoxType::Udat);
    if (payload.empty())
        return failed();
    const size_t maxFrames = maxFramesFor(reader.movieDurationMs().value_or(DURATION_WITHOUT_HEADER_MS));

    uint32_t smallest = 0; // of the file's kept frames
    uint32_t largest = 0;

    if (fileData.size() == 8 && payload.size() >= 8 &&
        std::memcmp(payload.data(), fileData.constData(), 8) == 0) {
        info->_isCutVideo = true;
        const auto counters = CutClipReader::read(*info, payload.subspan(8), left, right, isError);
        if (!counters)
            return failed();
        smallest = counters->smallest;
        largest = counters->largest;
    } else {
        const auto table = reader.readUdatTable();
        if (table.empty())
            return failed();
        // Entries in ascending offset order: the first is the header record, the others data blocks.
        auto entry = table.begin();
        const auto header = reader.readEntry(entry->first, entry->second);
        if (header.empty())
            return failed();
        if (!decodeHeader(header, *info, isError))
            return failed();
        const auto blockKey = header.subspan(44, 4);

        int32_t fallbackLongitude = 0;
        int32_t fallbackLatitude = 0;
        uint32_t cameraOneBase = 0;
        std::vector<VideoFrame> frames;
        bool keptFrames = false;
        // Entries may overlap in a corrupt file; valid blocks never add up to more than the file.
        uint64_t budget = reader.fileSize();
        int32_t blockNo = 0;
        bool full = false;
        for (++entry; !full && entry != table.end(); ++entry) {
            ++blockNo;
            const auto block = reader.readEntry(entry->first, entry->second);
            if (!reader.error().isEmpty())
                return failed();
            if (block.size() > budget)
                break;
            budget -= block.size();

            BlockAccumulator acc;
            // The last 64 bytes of a block are never a record.
            for (size_t at = 0; block.size() > RECORD_SIZE && at < block.size() - RECORD_SIZE;
                 at += RECORD_SIZE) {
                const auto record = block.subspan(at, RECORD_SIZE);
                if (std::memcmp(record.data() + 60, blockKey.data(), 4) != 0)
                    break;
                VideoFrame frame = decodeRecord(record, blockNo, isError);
                if (!(record[6] == 0xFF && record[7] == 0xFF && record[8] == 0xFF) && fallbackLatitude == 0) {
                    fallbackLongitude = frame._longitude;
                    fallbackLatitude = frame._latitude;
                }
                if (frame.powerDown)
                    acc.powerDown = true;
                if (frame._id != 0x55)
                    continue;
                if (acc.firstTime.isDistantPast() || acc.firstTime > frame.time)
                    acc.firstTime = frame.time;
                if (acc.lastTime < frame.time)
                    acc.lastTime = frame.time;
                acc.smallest = std::min(acc.smallest, frame._timeStamp);
                acc.largest = std::max(acc.largest, frame._timeStamp);
                acc.frames.push_back(std::move(frame));
                // Frames past what the movie's length allows are left out; those before it still
                // show what the chapter holds.
                if (frames.size() + acc.frames.size() >= maxFrames) {
                    full = true;
                    break;
                }
            }

            // A block without kept frames contributes nothing: its untouched smallest counter must not
            // become the recording's base, whatever the window.
            if (acc.frames.empty())
                continue;
            if (acc.lastTime < left || acc.firstTime > right)
                continue;
            if (smallest == 0) {
                smallest = acc.smallest;
                info->firstTime = acc.firstTime;
            }
            if (cameraOneBase == 0)
                cameraOneBase = acc.smallest;
            largest = std::max(largest, acc.largest);
            if (info->lastTime < acc.lastTime)
                info->lastTime = acc.lastTime;
            if (acc.powerDown)
                info->powerDown = true;
            keptFrames = true;
            frames.insert(frames.end(), std::make_move_iterator(acc.frames.begin()),
                          std::make_move_iterator(acc.frames.end()));
        }

        if (full && problem)
            *problem = tooManyFrames();

        const auto byCounter = [](const VideoFrame &a, const VideoFrame &b) {
            return a._timeStamp < b._timeStamp;
        };
        // The camera writes its blocks in counter order; sort only what is not.
        if (!std::is_sorted(frames.begin(), frames.end(), byCounter))
            std::stable_sort(frames.begin(), frames.end(), byCounter);
        // A file of the header alone builds no tables: camera 1 keeps the new recording's frame.
        if (table.size() > 1) {
            const float fps = CommonConst::recModeFps(info->_recMode);
            auto pool = std::make_shared<FramePool>();
            std::vector<uint32_t> indices;
            indices.reserve(frames.size());
            for (const VideoFrame &frame : frames)
                indices.push_back(pool->add(frame));
            frames = {};
            std::map<int, CameraKeys> tables;
            // Camera 1 first: its repeats keep the positions the frames have before camera 0 fills in
            // the fallback position.
            tables[1] = VideoInfo::makeMovieFrameTable(*pool, indices, cameraOneBase, fps, maxFrames);
            tables[0] =
                VideoInfo::makeFrameTable(*pool, indices, smallest, 0, fallbackLongitude, fallbackLatitude);
            pool->shrinkToFit();
            info->setFrames(std::move(pool), std::move(tables));
        }
        if (!keptFrames)
            isError = true;
    }

    info->rebuildKeyLists();
    info->_timeSpan = largest - smallest;
    // A trimmed clip's detection is the one its archive holds, placed already when its source was read;
    // placing it again against the clip's own frames would give the clip's first frame instead.
    if (!info->_isCutVideo) {
        info->_playback.detectPosition = info->locateDetection(smallest, largest);
        if (const auto frame = info->getCameraFrames(0).find(int(info->_playback.detectPosition)))
            info->_playback.detectTime = frame->time;
    }
    info->_playback.recordTime = info->firstTime;
    info->_playback.endTime = info->lastTime;
    return info;
}

std::optional<Date> Mp4RecordingReader::readFirstTime(const QString &path, const QByteArray &fileData)
{
    return readOpening(path, fileData).firstTime;
}

Mp4RecordingReader::Opening Mp4RecordingReader::readOpening(const QString &path, const QByteArray &fileData)
{
    // The same checks as read(), in its order, so that a file it refuses is refused here too.
    Opening opening;
    const Mp4Reader reader(path);
    opening.movieDurationMs = reader.movieDurationMs();
    const auto payload = reader.readPayload(Mp4Reader::BoxType::Udat);
    const bool isCutClip = fileData.size() == 8 && payload.size() >= 8 &&
                           std::memcmp(payload.data(), fileData.constData(), 8) == 0;
    if (payload.empty() || isCutClip)
        return opening;
    const size_t maxFrames = maxFramesFor(opening.movieDurationMs.value_or(DURATION_WITHOUT_HEADER_MS));
    const auto table = reader.readUdatTable();
    if (table.empty())
        return opening;
    auto entry = table.begin();
    const auto header = reader.readEntry(entry->first, entry->second);
    VideoInfo info;
    bool isError = false;
    if (header.empty() || !decodeHeader(header, info, isError))
        return opening;
    const auto blockKey = header.subspan(44, 4);

    // The earliest kept frame of the first block that keeps one (of a later one while the counters
    // seen are all zero, as read() does) and the largest counter of every kept frame; every later block
    // is still walked for what makes read() give up (a read error), up to the frames the movie's length
    // allows.
    Date first = Date::distantPast();
    uint32_t smallest = 0;
    uint32_t largest = 0;
    size_t kept = 0;
    uint64_t budget = reader.fileSize();
    for (++entry; entry != table.end(); ++entry) {
        const auto block = reader.readEntry(entry->first, entry->second);
        if (!reader.error().isEmpty())
            return opening;
        if (block.size() > budget)
            break;
        budget -= block.size();
        std::optional<Date> blockFirst;
        uint32_t blockSmallest = SMALLEST_START;
        for (size_t at = 0; block.size() > RECORD_SIZE && at < block.size() - RECORD_SIZE;
             at += RECORD_SIZE) {
            const auto record = block.subspan(at, RECORD_SIZE);
            if (std::memcmp(record.data() + 60, blockKey.data(), 4) != 0)
                break;
            if (record[44] != 0x55) // not a kept frame (decodeRecord's _id)
                continue;
            const uint32_t counter = DataUtility::getUInt32(record, 40);
            largest = std::max(largest, counter);
            if (smallest == 0) {
                const Date time = DataUtility::getUnixDate(record, 2);
                if (!blockFirst || blockFirst->isDistantPast() || *blockFirst > time)
                    blockFirst = time;
                blockSmallest = std::min(blockSmallest, counter);
            }
            // read() keeps the frames up to what the movie's length allows and leaves the rest out.
            if (++kept >= maxFrames)
                break;
        }
        if (blockFirst && smallest == 0) {
            smallest = blockSmallest;
            first = *blockFirst;
        }
        if (kept >= maxFrames)
            break;
    }
    opening.firstTime = first;
    opening.timeSpan = largest - smallest;
    return opening;
}
