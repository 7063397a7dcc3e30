// One recording file as every view consumes it: the recording read from it, its camera version, the
// reader's error texts, and each frame's distance and compass direction.
#pragma once

#include "recording/Date.h"
#include "recording/IconId.h"
#include "recording/VersionInfo.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <optional>

class FullTimeDataInfo;
class VideoInfo;

class PictureData
{
public:
    // Which reader a file goes to: event recording, movie DAT, or MP4 chapter.
    enum class RecType
    {
        EventRec,
        MovieRec,
        Yohin14Rec,
    };
    // How much of the file is read; Thumbnail is the divided DAT layout.
    enum class PictureDataType
    {
        All,
        Thumbnail,
        Classify,
    };

    // Reads the file at once on the calling thread; never fails: what the reader reports is in errors,
    // and video is null when nothing could be read. fullTimeDataInfo is held, not copied. fileData is
    // the 8-byte file-information item that starts the udat payload of a clip cut by the trim tool.
    PictureData(const QUrl &path, PictureDataType pictureDataType, const Date &left, const Date &right,
                std::shared_ptr<FullTimeDataInfo> fullTimeDataInfo, std::optional<RecType> recType,
                const QByteArray &fileData);
    PictureData(const PictureData &) = delete;
    PictureData &operator=(const PictureData &) = delete;
    virtual ~PictureData();

    std::optional<QUrl> fullPath() const { return _fullPath; }
    // The folder of the file.
    std::optional<QUrl> dataPath() const;
    std::optional<uint32_t> GetFrameTimeSpan() const;
    std::optional<Date> startTime() const;
    const VersionInfo &ver() const { return _ver; }

    // Recompute each camera-0 frame's distance to the reference frame and its direction of travel.
    // The constructor runs both once; they write into the frames shared with every holder.
    void setDistance();
    void setDirection();
    // Heading from the previous to this position as one of the 16 compass icons; None when unmoved.
    static IconId getDirection(int32_t longitude, int32_t latitude, int32_t prevLongitude,
                               int32_t prevLatitude);

    QString d2us = QStringLiteral("03");
    bool soundmute = false;
    QString eventFPS = QStringLiteral("00");
    QString movieFPS = QStringLiteral("01");
    std::shared_ptr<VideoInfo> video;
    QStringList errors;
    // Why the file itself could not be read or was refused, for the user; empty otherwise.
    QString problem;

private:
    Date _mLeft = Date::distantPast();
    Date _mRight = Date::distantFuture();
    PictureDataType _mPdtType = PictureDataType::Classify;
    std::shared_ptr<FullTimeDataInfo> _mFullTimeDataInfo;
    std::optional<QUrl> _fullPath;
    VersionInfo _ver = VersionInfo::fallback();
};
