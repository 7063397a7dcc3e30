#include "recording/LegacyFrameFileReader.h"

#include "recording/BcdPosition.h"
#include "recording/CommonConst.h"
#include "recording/DatFileReader.h"
#include "recording/DatHeader.h"
#include "recording/DataUtility.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/VideoInfo.h"

#include "platform/PlatformError.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The marker stands this far into a record, inside the picture's first application segment.
constexpr uint64_t MARKER_OFFSET = 66;

// Remembers the last marker search so a run of broken records does not scan the same bytes again for
// each of them. The next record starts within one picture of a broken one, so a search reaches no
// further: a longer one would be a scan of whatever the file holds, up to gigabytes.
class MarkerSearch
{
public:
    static constexpr uint64_t REACH =
        LegacyFrameFileReader::MAX_IMAGE_SIZE + 2 * LegacyFrameFileReader::RECORD_FIXED_SIZE + MARKER_OFFSET;

    explicit MarkerSearch(const DatFileReader &file) : _file(file) {}

    std::optional<uint64_t> from(uint64_t start)
    {
        const uint64_t end = std::min(start + REACH, _file.size());
        if (_searched && start >= _start) {
            // What the last search found is still the first marker from start on.
            if (_found && start <= *_found)
                return _found;
            // [_start, _end) holds none: only the bytes after it are searched.
            if (!_found && start <= _end) {
                if (end > _end) {
                    const uint64_t overlap = CommonConst::IMAGE_DATA_IDENTIFIER.size() - 1;
                    _found = _file.find(std::max(start, _end > overlap ? _end - overlap : 0), end,
                                        CommonConst::IMAGE_DATA_IDENTIFIER);
                    _end = end;
                }
                return _found;
            }
        }
        _searched = true;
        _start = start;
        _end = end;
        _found = _file.find(start, end, CommonConst::IMAGE_DATA_IDENTIFIER);
        return _found;
    }

private:
    const DatFileReader &_file;
    bool _searched = false;
    uint64_t _start = 0;
    uint64_t _end = 0; // of the bytes searched from _start
    std::optional<uint64_t> _found;
};

// Runs a BCD field read; a bad digit sets isError and leaves the field alone.
template <typename Read> void orFlag(bool &isError, Read read)
{
    try {
        read();
    } catch (const PlatformError &) {
        isError = true;
    }
}

} // namespace

std::shared_ptr<VideoInfo> LegacyFrameFileReader::readFileOther(const QString &path, const Date &left,
                                                                const Date &right,
                                                                PictureData::PictureDataType pictureDataType,
                                                                const FullTimeDataInfo *fullTime,
                                                                bool &isError)
{
    auto info = std::make_shared<VideoInfo>();
    info->_playback = PlaybackInfo();
    info->_playback.load(DatHeader::playbackPath(path));
    info->_timeSpan = 0;

    const DatFileReader file(path);
    std::array<uint8_t, HEADER_SIZE + 255 * DatHeader::ITEM_SIZE> header{};
    if (!file.isOpen() || !file.readAt(0, std::span(header).first(HEADER_SIZE)))
        return info;
    if (const auto code = DatHeader::bcd(header[0]))
        info->detectType = *code;
    try {
        info->_playback.detectTime = DataUtility::getBcdDate(header, 2);
    } catch (const PlatformError &) {
    }
    info->_playback.detectPosition = DataUtility::getUInt32(header, 8);
    info->state = header[27];
    info->sw = header[28];
    const size_t count = header[32];
    info->_bootID = DataUtility::toUInt32(std::span(header).subspan(39, 3));

    const uint64_t itemsEnd = HEADER_SIZE + count * DatHeader::ITEM_SIZE;
    if (!file.readAt(0, std::span(header).first(itemsEnd))) {
        isError = true; // the announced items run past the end of the file
        return info;
    }
    PlaybackInfo &playback = info->_playback;
    for (size_t i = 0; i < count; ++i) {
        const auto item = DatHeader::item(std::span(header).subspan(HEADER_SIZE + DatHeader::ITEM_SIZE * i));
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
            if (fullTime) {
                playback.userDriverCode = fullTime->_userDriverCode;
            } else if (!DatHeader::hasNoCodeMark(item.data)) {
                if (const auto text = DatHeader::codeText(item.data))
                    playback.userDriverCode = *text;
                else
                    isError = true;
            }
        } else {
            DatHeader::applyCommon(item, playback);
        }
    }
    if (count >= 1)
        readJpegFrames(file, itemsEnd, *info, left, right, pictureDataType, isError);
    return info;
}

void LegacyFrameFileReader::readJpegFrames(const DatFileReader &file, uint64_t offset, VideoInfo &info,
                                           const Date &left, const Date &right,
                                           PictureData::PictureDataType pictureDataType, bool &isError)
{
    const uint64_t length = std::min<uint64_t>(file.size(), UINT32_MAX);
    MarkerSearch markers(file);
    uint32_t smallest = 0;
    uint32_t largest = 0;
    bool haveThumbnail = false;
    // Each frame is stored once; the lists hold its slot.
    auto pool = std::make_shared<FramePool>();
    std::vector<uint32_t> lists[4]; // 0 all, then cameras 1-3
    std::array<uint8_t, RECORD_FIXED_SIZE> fixed;
    size_t recordCount = 0;
    uint64_t imageBytes = 0;

    for (uint64_t p = offset; p < length;) {
        // Past the bounds the file is not a camera's: what was read so far is kept.
        if (++recordCount > DatFileReader::MAX_STEPS) {
            isError = true;
            break;
        }
        if (!file.readAt(p, fixed))
            break;
        const uint64_t imageLength = DataUtility::getUInt32(fixed, 0);
        VideoFrame frame;
        frame._timeStamp = DataUtility::getUInt32(fixed, 4);
        frame._id = fixed[8];
        const auto data = std::span<const uint8_t>(fixed).subspan(28);
        frame.camera = data[0];
        orFlag(isError, [&] { frame.gX = DataUtility::getBcdInt16(data, 10) / 1000.0; });
        orFlag(isError, [&] { frame.gY = DataUtility::getBcdInt16(data, 12) / 1000.0; });
        orFlag(isError, [&] { frame.speed = DataUtility::getBcdUInt16(data, 14); });
        orFlag(isError, [&] {
            const auto digits =
                QStringLiteral("%1").arg(DataUtility::getBcdUInt32(data, 16), 8, 10, QChar('0'));
            frame._longitude = BcdPosition::toFrameUnit(BcdPosition::convertLongitude(digits));
        });
        orFlag(isError, [&] {
            const auto digits =
                QStringLiteral("%1").arg(DataUtility::getBcdUInt32(data, 20), 8, 10, QChar('0'));
            frame._latitude = BcdPosition::toFrameUnit(BcdPosition::convertLatitude(digits));
        });
        frame.status = data[27];
        frame.sw = data[28];
        const uint8_t flags = data[29];
        frame.gps = flags & 0x04;
        frame._gps2 = flags & 0x02;
        frame.powerDown = flags & 0x01;
        if (frame.powerDown)
            info.powerDown = true;

        const auto time = DataUtility::bcdDate(data, 4);
        if (time)
            frame.time = *time;
        const auto violation = DatHeader::bcd(data[24]);
        if (!time || !violation) {
            // Resynchronise on the next picture marker, or step to the violation code's position.
            isError = true;
            const auto marker = markers.from(p + 80);
            p = marker ? *marker - MARKER_OFFSET : p + 52;
            continue;
        }
        frame.ex.violationType = Mp4RecordingReader::violationOfCode(*violation);

        const uint64_t next = p + RECORD_FIXED_SIZE + imageLength;
        if (imageLength > length - p - RECORD_FIXED_SIZE)
            break; // the picture runs past the end of the file
        p = next;
        if (frame.time < left || frame.time > right || frame._id != 0x55)
            continue;
        if (pictureDataType != PictureData::PictureDataType::Classify && imageLength >= 16) {
            if (imageLength > DatFileReader::MAX_IMAGE_BYTES - imageBytes) {
                isError = true;
                break;
            }
            if (auto image = file.read(next - imageLength, imageLength, MAX_IMAGE_SIZE)) {
                imageBytes += uint64_t(image->size());
                info._jpegHeader = image->first(16);
                frame._imageData = std::move(*image);
            }
        }
        if (!haveThumbnail) {
            haveThumbnail = true;
            info._thumbnail = std::move(frame);
            continue;
        }
        if (smallest == 0) {
            smallest = frame._timeStamp;
            info.firstTime = frame.time;
        } else {
            smallest = std::min(smallest, frame._timeStamp);
            info.firstTime = std::min(info.firstTime, frame.time);
        }
        largest = std::max(largest, frame._timeStamp);
        info.lastTime = std::max(info.lastTime, frame.time);
        const uint32_t slot = pool->add(frame);
        lists[0].push_back(slot);
        lists[frame.camera == 3 ? 3 : frame.camera == 2 ? 2 : 1].push_back(slot);
    }

    for (auto &list : lists)
        pool->sortByCounter(list);
    std::map<int, CameraKeys> tables;
    for (int camera : {1, 2, 3, 0}) {
        int32_t noFill = -1;
        int32_t noFillLatitude = -1;
        tables[camera] = VideoInfo::makeFrameTable(*pool, lists[camera], smallest, 0, noFill, noFillLatitude);
    }
    info._timeSpan = largest > smallest ? largest - smallest : 0;
    if (lists[0].size() >= 2) {
        const uint32_t before = pool->at(lists[0][lists[0].size() - 2])._timeStamp;
        info._preTimeSpan = before > smallest ? before - smallest : 0;
    }
    pool->shrinkToFit();
    info.setFrames(std::move(pool), std::move(tables));
    info.rebuildKeyLists();
    info._playback.detectPosition = info.locateDetection(smallest, largest);
}
