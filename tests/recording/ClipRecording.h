// The recording the clip tests cut from.
#pragma once

#include "recording/VideoInfo.h"
#include <memory>

inline const Date clipStart = Date::fromUnixSeconds(1714566896);

// count frames stepMs apart in both camera tables; a frame's counter is counterBase plus its key, its
// movie time stamp its key, its longitude minus its key, and with soundRecords every tenth is a sound
// record. The detection is at 1 s.
inline std::shared_ptr<VideoInfo> clipRecording(int count, int stepMs, uint32_t counterBase,
                                                bool soundRecords)
{
    auto info = std::make_shared<VideoInfo>();
    std::map<int, VideoFrame> table;
    for (int i = 0; i < count; ++i) {
        const int key = i * stepMs;
        VideoFrame frame;
        frame.time = clipStart.addingMilliseconds(key);
        frame._timeStamp = counterBase + uint32_t(key);
        frame._movieTimeStamp = uint32_t(key);
        frame._id = soundRecords && i % 10 == 9 ? 0xAA : 0x55;
        frame.speed = i;
        frame._longitude = -key;
        frame._latitude = -1285200;
        frame._posSouth = 1;
        frame.gY = key / -1000.0;
        frame.blockNo = 1;
        table.emplace(key, frame);
    }
    info->setCameraFrames(1, table);
    info->setCameraFrames(0, table);
    info->rebuildKeyLists();
    info->detectType = 10;
    info->_playback.detectTime = clipStart.addingSeconds(1);
    info->_playback.detectPosition = 1000;
    info->_fileVersion = "0714";
    info->_terminalType = TerminalType::AllInOne;
    info->_recMode = CommonConst::RecMode::LongRec;
    return info;
}
