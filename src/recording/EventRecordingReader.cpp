#include "recording/EventRecordingReader.h"

#include "recording/CommonConst.h"
#include "recording/DatFileReader.h"
#include "recording/DatHeader.h"
#include "recording/DataUtility.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/IOUtil.h"
#include "recording/RecordingTempFiles.h"
#include "recording/VideoInfo.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr size_t ITEMS_OFFSET = 80;

void applyItems(std::span<const uint8_t> header, size_t count, VideoInfo &info,
                const FullTimeDataInfo *fullTime, bool &isError)
{
    PlaybackInfo &playback = info._playback;
    for (size_t i = 0; i < count; ++i) {
        const auto item = DatHeader::item(header.subspan(ITEMS_OFFSET + DatHeader::ITEM_SIZE * i));
        if (!item.valid()) {
            isError = true;
            continue;
        }
        if (item.is(1, 3) && playback.userCarCode.isEmpty()) {
            if (fullTime && !fullTime->_userCarCode.isEmpty())
                playback.userCarCode = fullTime->_userCarCode;
            else if (const auto text = DatHeader::codeText(item.data))
                playback.userCarCode = *text;
            else
                isError = true;
        } else if (item.is(1, 4) && playback.userDriverCode.isEmpty()) {
            if (fullTime && !fullTime->_userDriverCode.isEmpty())
                playback.userDriverCode = fullTime->_userDriverCode;
            else if (DatHeader::hasNoCodeMark(item.data))
                continue;
            else if (const auto text = DatHeader::codeText(item.data))
                playback.userDriverCode = *text;
            else
                isError = true;
        } else if (item.is(2, 1)) {
            if (const auto cameras = DatHeader::bcd(item.data[0]))
                info.cameras = *cameras;
            else
                isError = true;
        } else {
            DatHeader::applyCommon(item, playback);
        }
    }
}

VideoFrame decodeFixedPart(std::span<const uint8_t> block, bool &isError)
{
    VideoFrame frame;
    frame.time = DataUtility::getUnixDate(block, 34);
    DatHeader::decodePosition(block, 38, 41, frame);
    frame.speed = DataUtility::getUInt16(block, 44) / 10;
    frame._engineSpeed = DataUtility::getUInt16(block, 46);
    frame.gX = DataUtility::gValueOfSample(DataUtility::getUInt16(block, 48)) / 1000.0;
    frame.gY = DataUtility::gValueOfSample(DataUtility::getUInt16(block, 50)) / 1000.0;
    frame.gZ = (DataUtility::gValueOfSample(DataUtility::getUInt16(block, 52)) - 1000) / 1000.0;
    frame.status = block[61];
    frame.sw = block[62];
    const uint8_t flags = block[63];
    frame.gps = flags & 0x04;
    frame._gps2 = flags & 0x02;
    frame.powerDown = flags & 0x01;
    frame.camera = block[64];
    frame._timeStamp = DataUtility::getUInt32(block, 72);
    frame._id = block[76];
    DatHeader::decodeViolation(block[77], block[78], frame, isError);
    return frame;
}

} // namespace

std::shared_ptr<VideoInfo> EventRecordingReader::readFileEvent(const QString &path, const Date &left,
                                                               const Date &right,
                                                               PictureData::PictureDataType pictureDataType,
                                                               const FullTimeDataInfo *fullTimeDataInfo,
                                                               bool &isError)
{
    auto info = std::make_shared<VideoInfo>();
    info->_playback = PlaybackInfo();
    info->_playback.load(DatHeader::playbackPath(path));
    info->_timeSpan = 0;

    const DatFileReader file(path);
    std::array<uint8_t, HEADER_SIZE> header{};
    if (!file.isOpen() || !file.readAt(0, header)) {
        isError = true; // unreadable, or shorter than its header
        return info;
    }
    if (const auto code = DatHeader::bcd(header[0]))
        info->detectType = *code;
    info->_playback.detectTime = DataUtility::getUnixDate(header, 2);
    info->state = header[29];
    info->sw = header[30];
    info->_playback.detectPosition = DataUtility::getUInt32(header, 40);
    const std::span<const uint8_t> identifier(header.data() + 44, 4);

    const auto count = DatHeader::bcd(header[64]);
    if (!count || *count == 0)
        return info;
    applyItems(header, *count, *info, fullTimeDataInfo, isError);

    info->_aacTempName = RecordingTempFiles::path(CommonConst::AACSOUND_FILE);
    {
        const auto guard = RecordingTempFiles::lock();
        IOUtil::remove(info->_aacTempName);
    }
    readEventFrames(file, identifier, *info, left, right, pictureDataType, isError);
    return info;
}

void EventRecordingReader::readEventFrames(const DatFileReader &file, std::span<const uint8_t> identifier,
                                           VideoInfo &info, const Date &left, const Date &right,
                                           PictureData::PictureDataType pictureDataType, bool &isError)
{
    const uint64_t length = std::min<uint64_t>(file.size(), UINT32_MAX);
    uint32_t smallest = 0;
    uint32_t largest = 0;
    bool firstInWindow = true;
    bool haveThumbnail = false;
    std::optional<std::pair<int32_t, int32_t>> firstPosition;
    // Each frame is stored once; the lists hold its slot.
    auto pool = std::make_shared<FramePool>();
    std::vector<uint32_t> all;
    std::vector<uint32_t> cameraOne;
    std::vector<uint32_t> cameraTwo;
    std::array<uint8_t, FIXED_SIZE> fixed;
    size_t blockCount = 0;
    uint64_t imageBytes = 0;

    for (uint64_t b = HEADER_SIZE; b + FIXED_SIZE <= length;) {
        // Past the bounds the file is not a camera's: what was read so far is kept.
        if (++blockCount > DatFileReader::MAX_STEPS) {
            isError = true;
            break;
        }
        if (!file.readAt(b, fixed))
            break;
        const uint64_t blockLength = DataUtility::getUInt32(fixed, 0);
        // A block must hold its fixed part and lie inside the file.
        if (blockLength <= FIXED_SIZE || blockLength > length - b)
            break;
        if (std::memcmp(fixed.data() + 92, identifier.data(), 4) != 0)
            break;
        VideoFrame frame = decodeFixedPart(fixed, isError);
        if (!firstPosition)
            firstPosition.emplace(frame._longitude, frame._latitude);
        const uint64_t next = b + blockLength;
        if (frame.powerDown)
            info.powerDown = true;
        if (frame.time < left || frame.time > right) {
            b = next;
            continue;
        }
        if (firstInWindow) {
            firstInWindow = false;
        } else {
            if (smallest == 0) {
                smallest = frame._timeStamp;
                info.firstTime = frame.time;
            } else {
                smallest = frame._timeStamp == 0 ? 0 : std::min(smallest, frame._timeStamp);
                info.firstTime = std::min(info.firstTime, frame.time);
            }
            largest = std::max(largest, frame._timeStamp);
            info.lastTime = std::max(info.lastTime, frame.time);
        }
        if (frame._id == 0x55) {
            const bool skipImage =
                pictureDataType == PictureData::PictureDataType::Thumbnail && haveThumbnail;
            const uint64_t imageLength = DataUtility::getUInt32(fixed, 8);
            if (!skipImage && imageLength <= blockLength - FIXED_SIZE) {
                if (imageLength > DatFileReader::MAX_IMAGE_BYTES - imageBytes) {
                    isError = true;
                    break;
                }
                if (auto image = file.read(b + FIXED_SIZE, imageLength, MAX_IMAGE_SIZE)) {
                    imageBytes += uint64_t(image->size());
                    frame._imageData = std::move(*image);
                    frame.addrs = uint32_t(b + FIXED_SIZE);
                }
            }
            if (!haveThumbnail) {
                haveThumbnail = true;
                info._thumbnail = std::move(frame);
            } else {
                const uint32_t slot = pool->add(frame);
                all.push_back(slot);
                (frame.camera == 2 ? cameraTwo : cameraOne).push_back(slot);
            }
        }
        b = next;
    }

    for (auto *list : {&all, &cameraOne, &cameraTwo})
        pool->sortByCounter(*list);
    int32_t noFill = -1;
    int32_t noFillLatitude = -1;
    int32_t longitude = firstPosition ? firstPosition->first : 0;
    int32_t latitude = firstPosition ? firstPosition->second : 0;
    std::map<int, CameraKeys> tables;
    tables[1] = VideoInfo::makeFrameTable(*pool, cameraOne, smallest, 0, noFill, noFillLatitude);
    tables[2] = VideoInfo::makeFrameTable(*pool, cameraTwo, smallest, 0, noFill, noFillLatitude);
    tables[0] = VideoInfo::makeFrameTable(*pool, all, smallest, 0, longitude, latitude);
    if (all.size() >= 2) {
        const uint32_t before = pool->at(all[all.size() - 2])._timeStamp;
        info._preTimeSpan = before - std::min(smallest, before);
    }
    pool->shrinkToFit();
    info.setFrames(std::move(pool), std::move(tables));
    info.rebuildKeyLists();

    info._timeSpan = largest - std::min(smallest, largest);
    if (all.empty())
        isError = true;
    info._playback.detectPosition = info.locateDetection(smallest, largest);
}
