#include "recording/CutVideoKihonInfo.h"

#include "platform/ArchivedValue.h"
#include "platform/KeyedUnarchiver.h"
#include "recording/VideoInfo.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr const char *KEY_SETTING_INFO = "cvki_zqa_settingInfo";
constexpr const char *KEY_FOOTER_CAMERA1_LIST = "cvki_zqa_footerCamera1List";
constexpr const char *KEY_FOOTER_SOUND_LIST = "cvki_zqa_footerSoundList";
constexpr const char *KEY_DETECT_TYPE = "cvki_zqa_detectType";
constexpr const char *KEY_DETECT_TIME = "cvki_zqa_detectTime";
constexpr const char *KEY_SW = "cvki_zqa_sw";
constexpr const char *KEY_DETECT_POSITION = "cvki_zqa_detectPosition";
constexpr const char *KEY_FIRST_TIME = "cvki_zqa_firstTime";
constexpr const char *KEY_LAST_TIME = "cvki_zqa_lastTime";
constexpr const char *KEY_POWER_DOWN = "cvki_zqa_powerDown";
constexpr const char *KEY_TOTAL_TIME_SPAN = "cvki_zqa_totalTimeSpan";
// The misspelling is the format's own; clips written earlier use it.
constexpr const char *KEY_TOTAL_MOVIE_TIME_SPAN = "cvki_zqa_totalMoviewTimeSpan";
constexpr const char *KEY_IS_DATETIME = "cvki_zqa_isDatetime";
constexpr const char *KEY_IS_SPEED = "cvki_zqa_isSpeed";
constexpr const char *KEY_IS_ACCELERATION = "cvki_zqa_isAcceleration";
constexpr const char *KEY_IS_POINT = "cvki_zqa_isPoint";

// Movie time stamps are unsigned 32-bit: a frame before the clip's start (or a sum past the range)
// is held at the nearest end instead of wrapping around.
uint32_t clampMovieTime(int64_t value)
{
    return uint32_t(std::clamp<int64_t>(value, 0, std::numeric_limits<uint32_t>::max()));
}

KeyedArchiver::Ref encodeFooters(KeyedArchiver &archiver, const std::map<int64_t, CutVideoFooterInfo> &list)
{
    std::vector<std::pair<KeyedArchiver::Ref, KeyedArchiver::Ref>> entries;
    entries.reserve(list.size());
    for (const auto &[key, footer] : list) {
        entries.emplace_back(archiver.encodeNumber(key), footer.encodeWithCoder(archiver));
    }
    return archiver.encodeDictionary(entries);
}

// A dictionary of integer keys to footers; none when any entry is of another kind.
std::optional<std::map<int64_t, CutVideoFooterInfo>> decodeFooters(const ArchivedValue &coder,
                                                                   const char *key)
{
    const auto dictionary = coder.decodeDictionary(key);
    if (!dictionary.isPresent()) {
        return std::nullopt;
    }
    std::map<int64_t, CutVideoFooterInfo> list;
    for (const auto &[entryKey, entryValue] : dictionary.value.entries()) {
        const auto ms = entryKey.toInteger();
        if (!ms || !entryValue.isInstanceOf(CutVideoFooterInfo::CLASS_NAME)) {
            return std::nullopt;
        }
        auto footer = CutVideoFooterInfo::initWithCoder(entryValue);
        if (!footer) {
            return std::nullopt;
        }
        list.insert_or_assign(*ms, std::move(*footer));
    }
    return list;
}

std::optional<Date> decodeDate(const ArchivedValue &coder, const char *key)
{
    const auto seconds = coder.decodeDate(key);
    return seconds.isPresent() ? CutVideoFooterInfo::dateFromSeconds(seconds.value) : std::nullopt;
}

} // namespace

CutVideoKihonInfo CutVideoKihonInfo::initFromVideoInfo(VideoInfo &recording, int64_t startMs, int64_t endMs,
                                                       int64_t movieDurationMs, bool isDatetime, bool isSpeed,
                                                       bool isAcceleration, bool isPoint)
{
    CutVideoKihonInfo info;
    info._detectType = recording.detectType;
    info._detectTime = recording._playback.detectTime;
    info._sw = recording.sw;
    info._detectPosition = recording._playback.detectPosition;
    info._firstTime = recording.findFrame(0, startMs, true).time;
    info._lastTime = recording.findFrame(0, endMs, true).time;
    info._powerDown = recording.powerDown;
    info._settingInfo._fileVersion = recording._fileVersion;
    info._settingInfo._terminalType = recording._terminalType;
    info._settingInfo._recMode = recording._recMode;
    info._isDatetime = isDatetime;
    info._isSpeed = isSpeed;
    info._isAcceleration = isAcceleration;
    info._isPoint = isPoint;

    const VideoFrame startFrame = recording.findFrame(1, startMs, true);
    const int64_t movieStart = startFrame._movieTimeStamp;
    const FrameTable frames = recording.getCameraFrames(1);
    for (const auto &[key, frame] : frames) {
        if (key < startMs) {
            continue;
        }
        if (key > endMs) {
            break;
        }
        auto footer = CutVideoFooterInfo::initFromVideoFrame(frame);
        footer._movieTimeStamp = clampMovieTime(int64_t(frame._movieTimeStamp) - movieStart);
        info._footerCamera1List.insert_or_assign(key - startMs, std::move(footer));
    }
    // The clip always starts with a frame, also when the start falls between two frames.
    auto first = CutVideoFooterInfo::initFromVideoFrame(startFrame);
    first._movieTimeStamp = 0;
    info._footerCamera1List.insert_or_assign(0, std::move(first));

    info._totalTimeSpan = endMs - startMs;
    info._totalMovieTimeSpan = movieDurationMs - movieStart;
    return info;
}

void CutVideoKihonInfo::appendChapter(VideoInfo &recording, int64_t endMs, int64_t movieDurationMs)
{
    const int64_t offset = _totalTimeSpan + 1;
    const int64_t movieOffset = _totalMovieTimeSpan;
    const FrameTable frames = recording.getCameraFrames(1);
    for (const auto &[key, frame] : frames) {
        if (key > endMs) {
            break;
        }
        auto footer = CutVideoFooterInfo::initFromVideoFrame(frame);
        footer._movieTimeStamp = clampMovieTime(int64_t(frame._movieTimeStamp) + movieOffset);
        _footerCamera1List.insert_or_assign(key + offset, std::move(footer));
    }
    _totalTimeSpan = offset + endMs;
    _totalMovieTimeSpan = movieOffset + movieDurationMs;
}

KeyedArchiver::Ref CutVideoKihonInfo::encodeWithCoder(KeyedArchiver &archiver) const
{
    const auto self = archiver.encodeObject(CLASS_NAME);
    archiver.setObject(self, KEY_SETTING_INFO, _settingInfo.encodeWithCoder(archiver));
    archiver.setObject(self, KEY_FOOTER_CAMERA1_LIST, encodeFooters(archiver, _footerCamera1List));
    archiver.setObject(self, KEY_FOOTER_SOUND_LIST, encodeFooters(archiver, _footerSoundList));
    archiver.setObject(self, KEY_DETECT_TYPE,
                       _detectType ? archiver.encodeNumber(int64_t(*_detectType)) : KeyedArchiver::NullRef);
    archiver.setObject(self, KEY_DETECT_TIME,
                       _detectTime ? archiver.encodeDate(CutVideoFooterInfo::secondsFromDate(*_detectTime))
                                   : KeyedArchiver::NullRef);
    archiver.setObject(self, KEY_SW, archiver.encodeNumber(int64_t(_sw)));
    archiver.setInteger(self, KEY_DETECT_POSITION, _detectPosition);
    archiver.setObject(self, KEY_FIRST_TIME,
                       archiver.encodeDate(CutVideoFooterInfo::secondsFromDate(_firstTime)));
    archiver.setObject(self, KEY_LAST_TIME,
                       archiver.encodeDate(CutVideoFooterInfo::secondsFromDate(_lastTime)));
    archiver.setBool(self, KEY_POWER_DOWN, _powerDown);
    archiver.setInteger(self, KEY_TOTAL_TIME_SPAN, _totalTimeSpan);
    archiver.setInteger(self, KEY_TOTAL_MOVIE_TIME_SPAN, _totalMovieTimeSpan);
    archiver.setBool(self, KEY_IS_DATETIME, _isDatetime);
    archiver.setBool(self, KEY_IS_SPEED, _isSpeed);
    archiver.setBool(self, KEY_IS_ACCELERATION, _isAcceleration);
    archiver.setBool(self, KEY_IS_POINT, _isPoint);
    return self;
}

std::optional<CutVideoKihonInfo> CutVideoKihonInfo::initWithCoder(const ArchivedValue &coder)
{
    const auto settingCoder = coder.decodeObject(KEY_SETTING_INFO, CutVideoSettingInfo::CLASS_NAME);
    if (!settingCoder.isPresent()) {
        return std::nullopt;
    }
    auto setting = CutVideoSettingInfo::initWithCoder(settingCoder.value);
    auto camera1 = decodeFooters(coder, KEY_FOOTER_CAMERA1_LIST);
    auto sound = decodeFooters(coder, KEY_FOOTER_SOUND_LIST);
    const auto sw = coder.decodeInteger(KEY_SW, 0, 255);
    const auto firstTime = decodeDate(coder, KEY_FIRST_TIME);
    const auto lastTime = decodeDate(coder, KEY_LAST_TIME);
    if (!setting || !camera1 || !sound || !sw.isPresent() || !firstTime || !lastTime) {
        return std::nullopt;
    }
    CutVideoKihonInfo info;
    info._settingInfo = std::move(*setting);
    info._footerCamera1List = std::move(*camera1);
    info._footerSoundList = std::move(*sound);
    const auto detectType = coder.decodeInteger(KEY_DETECT_TYPE, 0, 255);
    if (detectType.isPresent()) {
        info._detectType = uint8_t(detectType.value);
    }
    info._detectTime = decodeDate(coder, KEY_DETECT_TIME);
    info._sw = uint8_t(sw.value);
    info._detectPosition = coder.decodeInteger(KEY_DETECT_POSITION).value;
    info._firstTime = *firstTime;
    info._lastTime = *lastTime;
    info._powerDown = coder.decodeBool(KEY_POWER_DOWN).value;
    info._totalTimeSpan = coder.decodeInteger(KEY_TOTAL_TIME_SPAN).value;
    info._totalMovieTimeSpan = coder.decodeInteger(KEY_TOTAL_MOVIE_TIME_SPAN).value;
    info._isDatetime = coder.decodeBool(KEY_IS_DATETIME).value;
    info._isSpeed = coder.decodeBool(KEY_IS_SPEED).value;
    info._isAcceleration = coder.decodeBool(KEY_IS_ACCELERATION).value;
    info._isPoint = coder.decodeBool(KEY_IS_POINT).value;
    return info;
}

std::optional<QByteArray> CutVideoKihonInfo::archivedData() const
{
    KeyedArchiver archiver;
    return archiver.archive(encodeWithCoder(archiver));
}

std::optional<CutVideoKihonInfo> CutVideoKihonInfo::unarchive(const QByteArray &data)
{
    const auto archive = KeyedUnarchiver::fromData(data);
    if (!archive) {
        return std::nullopt;
    }
    const ArchivedValue root = archive->root();
    if (!root.isInstanceOf(CLASS_NAME)) {
        return std::nullopt;
    }
    return initWithCoder(root);
}
