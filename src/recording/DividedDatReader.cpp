#include "recording/DividedDatReader.h"

#include "recording/BcdPosition.h"
#include "recording/CommonConst.h"
#include "recording/DatFileReader.h"
#include "recording/DatHeader.h"
#include "recording/DataUtility.h"
#include "recording/VideoInfo.h"

#include "platform/PlatformError.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QString NO_PICTURE_DATA = QStringLiteral("画像データがありません。");
const QString UNKNOWN = QStringLiteral("不明");
constexpr size_t ITEMS_OFFSET = 48;

// A BCD position field to 1/36000 degree; none when a digit is not decimal.
template <typename Convert>
std::optional<int32_t> position(std::span<const uint8_t> data, qsizetype offset, Convert convert)
{
    try {
        return BcdPosition::toFrameUnit(convert(DataUtility::toHexString(data, offset, 4)));
    } catch (const PlatformError &) {
        return std::nullopt;
    }
}

} // namespace

std::shared_ptr<VideoInfo> DividedDatReader::fromDivisionFile(const QUrl &path, QStringList &errors)
{
    if (!path.isLocalFile()) {
        errors.append(NO_PICTURE_DATA);
        return std::make_shared<VideoInfo>();
    }
    if (VideoInfo::getTargetType(path) != TargetType::Common)
        return std::make_shared<VideoInfo>();
    return readDivisionFile(path.toLocalFile());
}

std::shared_ptr<VideoInfo> DividedDatReader::readDivisionFile(const QString &path)
{
    auto info = std::make_shared<VideoInfo>();
    info->_playback = PlaybackInfo();
    Date first = Date::distantFuture();
    Date last = Date::distantPast();

    const DatFileReader file(path);
    // Items are counted in one byte, so the header is never longer than this.
    std::array<uint8_t, ITEMS_OFFSET + 255 * DatHeader::ITEM_SIZE> header{};
    if (!file.isOpen() || !file.readAt(0, std::span(header).first(ITEMS_OFFSET)))
        return info;
    if (const auto date = DataUtility::bcdDate(header, 2))
        info->_playback.detectTime = *date;
    const size_t count = header[32];
    const uint64_t itemsEnd = ITEMS_OFFSET + count * DatHeader::ITEM_SIZE;
    if (!file.readAt(0, std::span(header).first(itemsEnd)))
        return info;
    PlaybackInfo &playback = info->_playback;
    for (size_t i = 0; i < count; ++i) {
        const auto item = DatHeader::item(std::span(header).subspan(ITEMS_OFFSET + DatHeader::ITEM_SIZE * i));
        if (!item.valid())
            continue;
        const bool car = item.is(1, 3);
        if (car || item.is(1, 4)) {
            QString &code = car ? playback.userCarCode : playback.userDriverCode;
            if (code == UNKNOWN) {
                if (const auto text = DatHeader::codeText(item.data))
                    code = *text;
            }
        } else {
            DatHeader::applyCommon(item, playback);
        }
    }

    // The walk reads frame headers only; the thumbnail's picture bytes are not kept.
    std::array<uint8_t, FRAME_HEADER_SIZE> frame;
    const uint64_t length = file.size();
    // Frame headers without a picture move on by 64 bytes only: the walk is bounded as well.
    for (uint64_t f = itemsEnd, n = 0;
         f < length && info->_thumbnail._id != 0x55 && n < DatFileReader::MAX_STEPS; ++n) {
        if (!file.readAt(f, frame))
            break;
        const uint64_t pictureLength = DataUtility::getUInt32(frame, 0);
        if (const auto date = DataUtility::bcdDate(frame, 36)) {
            if (n <= 1)
                first = *date;
            last = *date;
        }
        // A picture running past the end of the file is not a frame.
        if (pictureLength > length - f - FRAME_HEADER_SIZE)
            break;
        readDivisionFrame(*info, frame);
        f += FRAME_HEADER_SIZE + pictureLength;
    }

    // The window is clamped to the file: a short file is searched whole.
    const uint64_t from = length > LAST_FRAME_WINDOW ? length - LAST_FRAME_WINDOW : 0;
    if (const auto y = file.find(from, length, CommonConst::IMAGE_DATA_IDENTIFIER, true); y && *y >= 30) {
        std::array<uint8_t, 6> date;
        if (file.readAt(*y - 30, date)) {
            if (const auto d = DataUtility::bcdDate(date, 0))
                last = *d;
        }
    }
    info->firstTime = first;
    info->lastTime = last;
    return info;
}

void DividedDatReader::readDivisionFrame(VideoInfo &info, std::span<const uint8_t> bytes)
{
    if (bytes.size() < FRAME_HEADER_SIZE)
        return;
    VideoFrame frame;
    frame._timeStamp = DataUtility::getUInt32(bytes, 4);
    if (const auto date = DataUtility::bcdDate(bytes, 36))
        frame.time = *date;
    frame._id = bytes[44];
    if (frame._id != 0x55)
        return;
    frame._imageData = info._jpegHeader;
    if (const auto longitude = position(bytes, 48, BcdPosition::convertLongitude))
        frame._longitude = *longitude;
    if (const auto latitude = position(bytes, 52, BcdPosition::convertLatitude))
        frame._latitude = *latitude;
    info._thumbnail = frame;
    info.getCameraFrames(0); // a missing table becomes its placeholder, which takes the position
    info.editFrames(0, [&frame](std::span<const int32_t> keys, std::vector<VideoFrame> &frames) {
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == 0) {
                frames[i]._longitude = frame._longitude;
                frames[i]._latitude = frame._latitude;
            }
        }
    });
}
