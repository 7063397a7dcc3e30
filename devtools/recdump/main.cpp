// recdump FILE: reads a recording as the card's background worker does and prints what the reader sees
// as one JSON object.
#include "recording/FullTimeDataInfo.h"
#include "recording/PictureData.h"
#include "recording/SettingInfo.h"
#include "recording/VideoInfo.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonValue timeValue(const Date &date)
{
    if (date.isDistantPast())
        return QJsonValue::Null;
    return date.toDateTime().toUTC().toString(Qt::ISODateWithMs);
}

QJsonObject frameObject(int key, const VideoFrame &f)
{
    return QJsonObject{
        {"key", key},
        {"time", timeValue(f.time)},
        {"timeStamp", qint64(f._timeStamp)},
        {"movieTimeStamp", qint64(f._movieTimeStamp)},
        {"blockNo", f.blockNo},
        {"longitude", f._longitude},
        {"latitude", f._latitude},
        {"posWest", f._posWest},
        {"posSouth", f._posSouth},
        {"speed", f.speed},
        {"gX", f.gX},
        {"gY", f.gY},
        {"gZ", f.gZ},
        {"sw", f.sw},
        {"gps", f.gps},
        {"powerDown", f.powerDown},
        {"id", f._id},
        {"violationType", caseName(f.ex.violationType)},
        {"distance", f.ex.distance},
        {"direction", caseName(f.ex.direction)},
    };
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1] == "--help" || args[1] == "-h") {
        std::fprintf(stderr,
                     "usage: recdump FILE\n"
                     "Reads FILE as the card's background worker does and prints the recording as JSON.\n");
        return 2;
    }

    const auto item = SettingInfo().getItem(SettingInfo::DataType::FileInfo);
    const QByteArray fileData(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
    const PictureData picture(QUrl::fromLocalFile(QFileInfo(args[1]).absoluteFilePath()),
                              PictureData::PictureDataType::All, Date::distantPast(), Date::distantFuture(),
                              std::make_shared<FullTimeDataInfo>(), PictureData::RecType::Yohin14Rec,
                              fileData);

    // Without a recording the values of a new one are printed, with no frames.
    const std::shared_ptr<VideoInfo> read = picture.video;
    const std::shared_ptr<VideoInfo> video = read ? read : std::make_shared<VideoInfo>();
    QJsonObject cameras;
    if (read) {
        for (int number : video->cameraNumbers()) {
            QJsonArray frames;
            for (const auto &[key, frame] : video->getCameraFrames(number))
                frames.append(frameObject(key, frame));
            cameras.insert(QString::number(number), frames);
        }
    }
    const PlaybackInfo &playback = video->_playback;
    const QJsonObject out{
        {"isCutVideo", video->isCutVideo()},
        {"fileVersion", video->_fileVersion},
        {"terminalType", caseName(video->_terminalType)},
        {"recMode", CommonConst::caseName(video->recMode())},
        {"detectType", video->detectType},
        {"detectionType", caseName(playback.detectionType)},
        {"detectTime", timeValue(playback.detectTime)},
        {"detectPosition", qint64(playback.detectPosition)},
        {"sw", video->sw},
        {"powerDown", video->powerDown},
        {"firstTime", timeValue(video->firstTime)},
        {"lastTime", timeValue(video->lastTime)},
        {"timeSpan", qint64(video->_timeSpan)},
        {"errors", QJsonArray::fromStringList(picture.errors)},
        {"cameras", cameras},
    };
    const QByteArray json = QJsonDocument(out).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return read ? 0 : 1;
}
