// One recording read from its file: header values, recording settings and the per-camera frame tables.
#pragma once

#include "recording/CommonConst.h"
#include "recording/Date.h"
#include "recording/DetectionType.h"
#include "recording/FramePool.h"
#include "recording/FrameTable.h"
#include "recording/PictureData.h"
#include "recording/PlaybackInfo.h"
#include "recording/TargetType.h"
#include "recording/TerminalType.h"
#include "recording/VideoFrame.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

class FullTimeDataInfo;
class VersionInfo;

class VideoInfo
{
public:
    VideoInfo();
    VideoInfo(const VideoInfo &) = delete;
    VideoInfo &operator=(const VideoInfo &) = delete;
    virtual ~VideoInfo() = default;

    // --- Lookups (any thread; the placeholder tables they may store are guarded) ---

    // The table of camera number; never empty: a missing camera gets { 0: new frame }, an empty table
    // { 0: new frame at _playback.detectTime }, and that table is stored.
    virtual FrameTable getCameraFrames(int number);
    // The frame shown at a position (ms key): the greatest key not above it, the last frame past the
    // end, the frame at key 0 before the start. search does not change the result.
    virtual VideoFrame findFrame(int number, int64_t position, bool search = true);
    // Camera numbers that have a table, ascending.
    std::vector<int> cameraNumbers() const;

    static std::vector<VideoFrame> convertDictionary(const FrameTable &frames);
    // Decimal detection code (10-32) of a header to its type; other codes give None.
    static DetectionType getDetectType(uint8_t type);

    // --- Reader dispatch ---

    // Picks the reader by record type and extension. Appends "画像データがありません。" for a path that
    // is not a local file (result null) and "正常な画像詳細情報ではありません。" when the reader returns
    // nothing, a time span of 0 or an error; in that last case the partial recording is still returned.
    // problem gets the reason, for the user, when the file itself could not be read or was refused.
    static std::shared_ptr<VideoInfo> fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors,
                                               const Date &left, const Date &right,
                                               PictureData::PictureDataType pictureDataType,
                                               FullTimeDataInfo &fullTimeDataInfo,
                                               PictureData::RecType recType, const QByteArray &fileData,
                                               QString *problem = nullptr);
    // The camera's MP4 chapter (or a clip cut by the trim tool when its udat payload starts with
    // fileData). ver, pictureDataType and fullTimeDataInfo are not used. isError is only ever set.
    static std::shared_ptr<VideoInfo>
    readFileYohin14Move(const QUrl &filePath, const VersionInfo &ver, const Date &left, const Date &right,
                        PictureData::PictureDataType pictureDataType, FullTimeDataInfo &fullTimeDataInfo,
                        bool &isError, const QByteArray &fileData, QString *problem = nullptr);
    // The camera's DAT layouts, read by classes of their own (MovieDatReader, EventRecordingReader,
    // DividedDatReader, LegacyFrameFileReader). The overload without a record type reads the legacy
    // frame-file layout and reports failures like the dispatch above.
    static std::shared_ptr<VideoInfo> fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors,
                                               const Date &left, const Date &right,
                                               PictureData::PictureDataType pictureDataType,
                                               FullTimeDataInfo &fullTimeDataInfo);
    // The same with new full-time data; the two shortest keep every frame from now to the end of
    // 9999-12-31 in local time, so a recording made before the call keeps none.
    static std::shared_ptr<VideoInfo> fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors,
                                               const Date &left, const Date &right,
                                               PictureData::PictureDataType pictureDataType);
    static std::shared_ptr<VideoInfo> fromFile(const QUrl &path, const VersionInfo &ver, QStringList &errors);
    static std::shared_ptr<VideoInfo> fromFile(const QUrl &path, const VersionInfo &ver);
    static std::shared_ptr<VideoInfo> fromDivisionFile(const QUrl &path, QStringList &errors);
    static std::shared_ptr<VideoInfo> readFile0401Move(const QUrl &filePath, const VersionInfo &ver,
                                                       const Date &left, const Date &right,
                                                       PictureData::PictureDataType pictureDataType,
                                                       FullTimeDataInfo &fullTimeDataInfo, bool &isError);
    static std::shared_ptr<VideoInfo> readFileEvent(const QUrl &filePath, const VersionInfo &ver,
                                                    const Date &left, const Date &right,
                                                    PictureData::PictureDataType pictureDataType,
                                                    FullTimeDataInfo &fullTimeDataInfo, bool &isError);
    static std::shared_ptr<VideoInfo> readFileOther(const QUrl &filePath, const Date &left, const Date &right,
                                                    PictureData::PictureDataType pictureDataType,
                                                    FullTimeDataInfo &fullTimeDataInfo, bool &isError);
    // BCD position digits to 1/3,600,000 degree (BcdPosition).
    static int64_t convertLongitude(const QString &longitude);
    static int64_t convertLatitude(const QString &latitude);
    // Kind of recording file by its name: "Video.dat" and "M<12 digits>-<4 digits>.DAT" are Common,
    // "[GVSEM]<16 digits>.DAT" is Gyomu12, anything else None.
    static TargetType getTargetType(const QUrl &filePath);

    // --- Shared steps of the readers ---

    // Files the frames at indices by _timeStamp − base (first frame at a key stays; the first slot also at
    // key 0). step > 0 numbers _movieTimeStamp 0, step, 2·step...; frames without a position take
    // longitude/latitude unless longitude is −1 (longitude 0 clears latitude).
    static CameraKeys makeFrameTable(FramePool &pool, std::span<const uint32_t> indices, int64_t base,
                                     int64_t step, int32_t &longitude, int32_t &latitude);
    // The camera-1 table of an MP4 chapter: gaps inside a block filled with repeats every
    // ceil(1000 / fps) ms; _movieTimeStamp measured from each block's first frame plus
    // (blockNo − 1) × 1000. The repeats stop once the table holds maxFrames frames.
    static CameraKeys makeMovieFrameTable(FramePool &pool, std::span<const uint32_t> indices, uint32_t base,
                                          float fps, size_t maxFrames = SIZE_MAX);
    // Key of the detection in camera 0 from the absolute counters of the first and last frame;
    // marks the frame there (gDetected).
    int64_t locateDetection(uint32_t first, uint32_t last);
    // Stores the frames and the tables of every camera (readers, before the recording is handed out).
    // Tables with the same keys and indices are kept once.
    void setFrames(std::shared_ptr<const FramePool> pool, std::map<int, CameraKeys> tables);
    // Stores the table of one camera from frames by key, added to the pool.
    void setCameraFrames(int number, const std::map<int, VideoFrame> &frames);
    // Hands the frames of a camera's table, in key order, to edit and stores what it leaves. Repeats
    // are not handed over. Lookups made meanwhile see the frames before or after, never a mix.
    void editFrames(
        int number,
        const std::function<void(std::span<const int32_t> keys, std::vector<VideoFrame> &frames)> &edit);
    // Fixes the key lists findFrame searches: the last step of every reader.
    void rebuildKeyLists();
    // Heap bytes of the frames and tables (shared parts counted once), for the memory benchmark.
    size_t frameBytes() const;

    bool isCutVideo() const { return _isCutVideo; }
    CommonConst::RecMode recMode() const { return _recMode; }

    QString _userCarCode = PlaybackInfo::DATANOTHING_ZERO_8;
    QString _userDriverCode = PlaybackInfo::DATANOTHING_ZERO_8;
    DetectionType _detectionType = DetectionType::GSensor;
    QByteArray _jpegHeader;
    QByteArray _jpegHeader12;
    double gx = 0.0;
    double gy = 0.0;
    uint8_t state = 0;
    uint8_t sw = 0;         // switch byte of the header
    bool powerDown = false; // some kept sample reported a power-down
    int cameras = 1;
    uint8_t detectType = 0; // detection code of the header, decimal
    Date firstTime;
    int _bootID = 0;
    Date lastTime;
    uint32_t _timeSpan = 1; // last minus first millisecond counter; 0 marks a failed read
    uint32_t _preTimeSpan = 0;
    VideoFrame _thumbnail;
    PlaybackInfo _playback;
    uint32_t _addrs = 0;
    uint32_t _blockSize = 0;
    uint32_t _dataSize = 0;
    QString _channel1TempName;
    QString _channel2TempName;
    QString _aacTempName;
    bool bMoveSoundMute = true;
    QString _fileVersion; // four hexadecimal digits of the file-information item
    TerminalType _terminalType = TerminalType::None;
    bool _isCutVideo = false;
    bool isDatetime = false;
    bool isSpeed = false;
    bool isAcceleration = false;
    bool isPoint = false;
    CommonConst::RecMode _recMode = CommonConst::RecMode::Nomal;

private:
    FrameTable cameraFramesLocked(int number);
    VideoFrame placeholderLocked(int number);

    // Guards the members below: the lookups store placeholder tables from whichever thread asks.
    mutable std::mutex _framesMutex;
    std::shared_ptr<const FramePool> _pool;
    std::map<int, std::shared_ptr<const CameraKeys>> _cameraFrames;
    // The tables in camera-number order when the key lists were fixed; findFrame(j) searches the j-th.
    std::vector<std::shared_ptr<const CameraKeys>> _indexed;
};
