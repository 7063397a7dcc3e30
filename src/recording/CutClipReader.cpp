#include "recording/CutClipReader.h"

#include "recording/CutVideoKihonInfo.h"
#include "recording/VideoInfo.h"

#include <QByteArray>
#include <algorithm>
#include <limits>

std::optional<CutClipReader::Counters> CutClipReader::read(VideoInfo &info, std::span<const uint8_t> archive,
                                                           const Date &left, const Date &right, bool &isError)
{
    const auto clip = CutVideoKihonInfo::unarchive(
        QByteArray::fromRawData(reinterpret_cast<const char *>(archive.data()), qsizetype(archive.size())));
    if (!clip) {
        return std::nullopt;
    }
    // Members a clip must carry for its frames to be placed: without them the clip has no driving
    // data, rather than made-up values.
    if (!clip->_detectType || !clip->_detectTime) {
        return std::nullopt;
    }
    for (const auto &entry : clip->_footerCamera1List) {
        if (!entry.second.isComplete()) {
            return std::nullopt;
        }
    }

    info.detectType = *clip->_detectType;
    info._playback.detectionType = VideoInfo::getDetectType(info.detectType);
    info._playback.detectTime = *clip->_detectTime;
    info.sw = clip->_sw;
    info._playback.detectPosition = clip->_detectPosition;
    info._fileVersion = clip->_settingInfo._fileVersion;
    info._terminalType = clip->_settingInfo._terminalType.value_or(TerminalType::None);
    info._recMode = clip->_settingInfo._recMode.value_or(CommonConst::RecMode::Nomal);
    info.isDatetime = clip->_isDatetime;
    info.isSpeed = clip->_isSpeed;
    info.isAcceleration = clip->_isAcceleration;
    info.isPoint = clip->_isPoint;

    Date first = Date::distantPast();
    Date last = Date::distantPast();
    uint32_t smallest = 0x7FFFFFFF;
    uint32_t largest = 0;
    bool counted = false;
    bool poweredDown = false;
    // Both cameras file the same frames.
    auto pool = std::make_shared<FramePool>();
    std::vector<std::pair<int, uint32_t>> filed;
    for (const auto &[key, footer] : clip->_footerCamera1List) {
        const VideoFrame built = footer.makeVideoFrame();
        const VideoFrame *frame = &built;
        poweredDown = poweredDown || frame->powerDown;
        if (frame->_id == 0x55 || frame->_id == 0xAA) {
            if (first.isDistantPast() || first > frame->time) {
                first = frame->time;
            }
            if (last < frame->time) {
                last = frame->time;
            }
            smallest = std::min(smallest, frame->_timeStamp);
            largest = std::max(largest, frame->_timeStamp);
            counted = true;
        }
        // Frame tables are keyed by int: a key beyond that range cannot be placed.
        if (frame->_id == 0x55 && key >= std::numeric_limits<int>::min() &&
            key <= std::numeric_limits<int>::max()) {
            filed.emplace_back(int(key), pool->add(built));
        }
    }

    Counters counters;
    if (counted && !(last < left || first > right)) {
        info.firstTime = first;
        if (info.lastTime < last) {
            info.lastTime = last;
        }
        counters = {smallest, largest};
        if (poweredDown) {
            info.powerDown = true;
        }
    }
    if (filed.empty()) {
        isError = true;
    }
    CameraKeys table = CameraKeys::fromPairs(std::move(filed));
    info.setFrames(std::move(pool), {{0, table}, {1, table}});
    return counters;
}
