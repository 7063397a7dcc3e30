// The metadata archive of a trimmed clip: detection data, times, overlay flags and one footer per frame.
#pragma once

#include "platform/KeyedArchiver.h"
#include "recording/CutVideoFooterInfo.h"
#include "recording/CutVideoSettingInfo.h"
#include "recording/Date.h"

#include <QByteArray>
#include <cstdint>
#include <map>
#include <optional>

class ArchivedValue;
class VideoInfo;

class CutVideoKihonInfo
{
public:
    static inline const QString CLASS_NAME = QStringLiteral("CutVideoKihonInfo");

    // The root for a clip starting in recording at startMs and ending at endMs (frame keys of that
    // recording), whose movie lasts movieDurationMs; the flags say which overlays are burned in.
    static CutVideoKihonInfo initFromVideoInfo(VideoInfo &recording, int64_t startMs, int64_t endMs,
                                               int64_t movieDurationMs, bool isDatetime, bool isSpeed,
                                               bool isAcceleration, bool isPoint);
    // Adds the next recording of the range, up to endMs, after what the clip holds so far.
    void appendChapter(VideoInfo &recording, int64_t endMs, int64_t movieDurationMs);

    // The archive bytes (a binary property list); none when it cannot be written.
    std::optional<QByteArray> archivedData() const;
    // The root of an archive, when it is a complete CutVideoKihonInfo.
    static std::optional<CutVideoKihonInfo> unarchive(const QByteArray &data);

    KeyedArchiver::Ref encodeWithCoder(KeyedArchiver &archiver) const;
    static std::optional<CutVideoKihonInfo> initWithCoder(const ArchivedValue &coder);

    CutVideoSettingInfo _settingInfo;
    std::map<int64_t, CutVideoFooterInfo> _footerCamera1List; // ms from the clip's start
    std::map<int64_t, CutVideoFooterInfo> _footerSoundList;   // always written empty
    std::optional<uint8_t> _detectType;
    std::optional<Date> _detectTime;
    uint8_t _sw = 0;
    int64_t _detectPosition = 0;
    Date _firstTime;
    Date _lastTime;
    bool _powerDown = false;
    int64_t _totalTimeSpan = 0;      // ms
    int64_t _totalMovieTimeSpan = 0; // ms
    bool _isDatetime = false;
    bool _isSpeed = false;
    bool _isAcceleration = false;
    bool _isPoint = false;

private:
    CutVideoKihonInfo() = default;
};
