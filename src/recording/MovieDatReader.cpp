#include "recording/MovieDatReader.h"

#include "recording/CommonConst.h"
#include "recording/DatFileReader.h"
#include "recording/DatHeader.h"
#include "recording/DataUtility.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/IOUtil.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/RecordingTempFiles.h"
#include "recording/VideoInfo.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

constexpr size_t RECORD_SIZE = 64;
constexpr size_t ITEMS_OFFSET = 80;

// The bytes of one picture or sound chunk in the file.
struct Chunk
{
    uint32_t addrs = 0;
    uint32_t size = 0;
};

struct Block
{
    Date firstTime = Date::distantPast();
    Date lastTime = Date::distantPast();
    uint32_t smallest = 0; // 0: none yet
    uint32_t largest = 0;
    bool powerDown = false;
    // The block's last channel-1 picture and last sound chunk, for the temporary files.
    std::optional<Chunk> lastPicture;
    std::optional<Chunk> lastSound;
    std::vector<VideoFrame> pictures;
};

void applyItems(std::span<const uint8_t> header, VideoInfo &info, const FullTimeDataInfo *fullTime,
                double &interval, bool &isError)
{
    PlaybackInfo &playback = info._playback;
    const size_t count = header[64];
    for (size_t i = 0; i < count; ++i) {
        const auto item = DatHeader::item(header.subspan(ITEMS_OFFSET + DatHeader::ITEM_SIZE * i));
        if (!item.valid()) {
            isError = true;
            continue;
        }
        if (item.is(0, 1)) {
            info._fileVersion = DataUtility::toHexString(item.data.first(2));
        } else if (item.is(1, 3) && playback.userCarCode.isEmpty()) {
            const auto text =
                fullTime ? std::optional(fullTime->_userCarCode) : DatHeader::codeText(item.data);
            if (text)
                playback.userCarCode = *text;
            else
                isError = true;
        } else if (item.is(1, 4) && playback.userDriverCode.isEmpty()) {
            if (fullTime) {
                playback.userDriverCode = fullTime->_userDriverCode;
            } else if (!DatHeader::hasNoCodeMark(item.data)) {
                if (const auto text = DatHeader::codeText(item.data))
                    playback.userDriverCode = *text;
                else
                    isError = true;
            }
        } else if (item.is(1, 9)) {
            info._terminalType = item.data[0] == 1 ? TerminalType::Separate : TerminalType::AllInOne;
        } else if (item.is(2, 1)) {
            if (const auto cameras = DatHeader::bcd(item.data[0]))
                info.cameras = *cameras;
            else
                isError = true;
        } else if (item.is(10, 6)) {
            info.bMoveSoundMute = item.data[0] == 0;
        } else if (DatHeader::applyCommon(item, playback) && item.is(10, 3)) {
            interval = MovieDatReader::frameInterval(playback.movieFPS);
        }
    }
}

// Copies the last chunk of the kept blocks (the later block wins) to a temporary file.
void writeLastChunk(const DatFileReader &file, const std::vector<Block> &blocks,
                    std::optional<Chunk> Block::*which, const QString &path)
{
    const Chunk *last = nullptr;
    for (const Block &block : blocks) {
        if (block.*which)
            last = &*(block.*which);
    }
    if (!last)
        return;
    if (const auto bytes = file.read(last->addrs, last->size, MovieDatReader::MAX_CHUNK_SIZE);
        bytes && !bytes->isEmpty())
        RecordingTempFiles::write(path, *bytes);
}

} // namespace

double MovieDatReader::frameInterval(const QString &movieFps)
{
    static const QStringList tenth = {"00", "04", "05"};
    static const QStringList fifth = {"01", "06", "07"};
    static const QStringList half = {"02", "08"};
    static const QStringList second = {"03", "09"};
    if (tenth.contains(movieFps))
        return 100.0;
    if (fifth.contains(movieFps))
        return 199.8;
    if (half.contains(movieFps))
        return 500.0;
    if (second.contains(movieFps))
        return 1000.0;
    return 1000.0 / 28;
}

std::shared_ptr<VideoInfo> MovieDatReader::read(const QString &path, const Date &left, const Date &right,
                                                PictureData::PictureDataType pictureDataType,
                                                const FullTimeDataInfo *fullTimeDataInfo, bool &isError)
{
    auto info = std::make_shared<VideoInfo>();
    info->_playback = PlaybackInfo();
    info->_playback.load(DatHeader::playbackPath(path));

    const DatFileReader file(path);
    std::array<uint8_t, HEADER_SIZE> header{};
    // A file shorter than its header is not of this layout: nothing is read from it.
    const bool readable = file.isOpen() && file.readAt(0, header);
    // Offsets are kept in 32 bits as the camera's cards are FAT32.
    const uint64_t length = readable ? std::min<uint64_t>(file.size(), UINT32_MAX) : 0;
    double interval = 100.0;
    uint32_t start = 0;
    uint32_t end = 0;
    int32_t longitude = 0;
    int32_t latitude = 0;
    std::vector<VideoFrame> cameraOne;
    std::vector<Block> kept;

    if (readable) {
        if (const auto code = DatHeader::bcd(header[0]))
            info->detectType = *code;
        info->_playback.detectTime = DataUtility::getUnixDate(header, 2);
        info->_playback.detectionType = VideoInfo::getDetectType(info->detectType);
        info->state = header[29];
        info->sw = header[30];
        info->_playback.detectPosition = DataUtility::getUInt32(header, 40);
        const std::span<const uint8_t> identifier(header.data() + 44, 4);
        applyItems(header, *info, fullTimeDataInfo, interval, isError);

        const bool walk = std::memcmp(header.data() + 28, identifier.data(), 4) != 0;
        std::array<uint8_t, RECORD_SIZE * 256> records;
        // Records looked at and picture frames kept: past either bound the file is not a camera's.
        size_t recordCount = 0;
        size_t pictureCount = 0;
        bool bounded = false;
        for (uint64_t b = HEADER_SIZE; walk && !bounded && b + BLOCK_HEADER_SIZE <= length;) {
            std::array<uint8_t, 12> head;
            if (!file.readAt(b, head))
                break;
            const uint64_t blockLength = DataUtility::getUInt32(head, 0);
            const uint64_t next = b + blockLength;
            // A length that does not move on, or runs past the file, ends the walk.
            if (blockLength == 0 || next > length)
                break;
            // One too short for its own header holds no records: the next block may still be good.
            if (blockLength < BLOCK_HEADER_SIZE) {
                b = next;
                continue;
            }
            Block block;
            uint64_t payload = b + BLOCK_HEADER_SIZE;
            uint64_t q = payload + DataUtility::getUInt32(head, 8);
            bool ended = false;
            while (!ended && q + RECORD_SIZE <= next) {
                const size_t count = size_t(std::min<uint64_t>((next - q) / RECORD_SIZE, 256));
                if (!file.readAt(q, std::span(records.data(), count * RECORD_SIZE)))
                    break;
                for (size_t r = 0; r < count; ++r, q += RECORD_SIZE) {
                    const std::span<const uint8_t> record(records.data() + r * RECORD_SIZE, RECORD_SIZE);
                    if (std::memcmp(record.data() + 60, identifier.data(), 4) == 0) {
                        ended = true;
                        break;
                    }
                    if (++recordCount > DatFileReader::MAX_RECORDS) {
                        bounded = ended = true;
                        break;
                    }
                    VideoFrame frame = Mp4RecordingReader::decodeRecord(record, 0, isError);
                    frame._engineSpeed = DataUtility::getUInt16(record, 14);
                    frame.status = record[29];
                    if (DatHeader::decodePosition(record, 6, 9, frame) && latitude == 0) {
                        longitude = frame._longitude;
                        latitude = frame._latitude;
                    }
                    frame.addrs = uint32_t(payload);
                    payload += frame.frameSize;
                    if (frame.powerDown)
                        block.powerDown = true;
                    if (frame._id == 0x55 && frame.pictureChannel == 1)
                        block.lastPicture = Chunk{frame.addrs, frame.frameSize};
                    else if (frame._id == 0xAA)
                        block.lastSound = Chunk{frame.addrs, frame.frameSize};
                    if (frame._id == 0x55 || frame._id == 0xAA) {
                        const uint32_t t = frame._timeStamp;
                        if (block.smallest == 0) {
                            block.smallest = t;
                            block.firstTime = frame.time;
                        } else {
                            block.smallest = std::min(block.smallest, t);
                            block.firstTime = std::min(block.firstTime, frame.time);
                        }
                        block.largest = std::max(block.largest, t);
                        block.lastTime = std::max(block.lastTime, frame.time);
                        if (frame._id == 0x55) {
                            if (++pictureCount > DatFileReader::MAX_FRAMES) {
                                bounded = ended = true;
                                break;
                            }
                            block.pictures.push_back(std::move(frame));
                        }
                    }
                }
            }
            if (bounded) {
                isError = true;
                break;
            }
            b = next;
            if (block.lastTime < left || block.firstTime > right)
                continue;
            if (start == 0) {
                start = block.smallest;
                info->firstTime = block.firstTime;
            }
            end = std::max(end, block.largest);
            info->lastTime = std::max(info->lastTime, block.lastTime);
            if (block.powerDown)
                info->powerDown = true;
            cameraOne.insert(cameraOne.end(), std::make_move_iterator(block.pictures.begin()),
                             std::make_move_iterator(block.pictures.end()));
            block.pictures = {};
            kept.push_back(std::move(block));
        }
    } else {
        isError = true;
    }

    if (readable && pictureDataType == PictureData::PictureDataType::All) {
        info->_channel1TempName = RecordingTempFiles::path(CommonConst::CHANNEL1_TMP_FILE);
        info->_channel2TempName = info->_channel1TempName;
        info->_aacTempName = RecordingTempFiles::path(CommonConst::AACSOUND_FILE);
        const auto guard = RecordingTempFiles::lock();
        IOUtil::remove(info->_channel1TempName);
        IOUtil::remove(info->_aacTempName);
        writeLastChunk(file, kept, &Block::lastPicture, info->_channel1TempName);
        writeLastChunk(file, kept, &Block::lastSound, info->_aacTempName);
    }

    kept = {};
    const auto byCounter = [](const VideoFrame &a, const VideoFrame &b) {
        return a._timeStamp < b._timeStamp;
    };
    std::stable_sort(cameraOne.begin(), cameraOne.end(), byCounter);
    auto pool = std::make_shared<FramePool>();
    std::vector<uint32_t> cameraOneSlots;
    cameraOneSlots.reserve(cameraOne.size());
    for (const VideoFrame &frame : cameraOne)
        cameraOneSlots.push_back(pool->add(frame));
    if (cameraOne.empty())
        isError = true;
    cameraOne = {};
    int32_t noFill = -1;
    int32_t noFillLatitude = -1;
    // Camera 0 files the same pool frames as camera 1.
    std::map<int, CameraKeys> tables;
    tables[1] =
        VideoInfo::makeFrameTable(*pool, cameraOneSlots, start, int64_t(interval), noFill, noFillLatitude);
    tables[0] = VideoInfo::makeFrameTable(*pool, cameraOneSlots, start, 0, longitude, latitude);
    pool->shrinkToFit();
    info->setFrames(std::move(pool), std::move(tables));
    info->rebuildKeyLists();
    info->_timeSpan = end - start;
    info->_playback.detectPosition = info->locateDetection(start, end);
    if (const auto frame = info->getCameraFrames(0).find(int(info->_playback.detectPosition)))
        info->_playback.detectTime = frame->time;
    info->_playback.recordTime = info->firstTime;
    info->_playback.endTime = info->lastTime;
    return info;
}
