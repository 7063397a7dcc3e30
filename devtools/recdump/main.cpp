// recdump FILE: reads a recording as the card's background worker does and prints what the reader sees
// as one JSON object.
#include "recording/FullTimeDataInfo.h"
#include "recording/PictureData.h"
#include "recording/SettingInfo.h"
#include "recording/VideoInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QHash>

#include <cstdio>
#include <optional>

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

// Members the DAT readers set besides the MP4 reader's.
void addDatFrameMembers(QJsonObject &o, const VideoFrame &f)
{
    o.insert("status", f.status);
    o.insert("engineSpeed", f._engineSpeed);
    o.insert("camera", f.camera);
    o.insert("addrs", qint64(f.addrs));
    o.insert("frameSize", qint64(f.frameSize));
    o.insert("pictureChannel", f.pictureChannel);
    o.insert("gps2", f._gps2);
}

void addDatMembers(QJsonObject &out, const VideoInfo &video)
{
    const PlaybackInfo &p = video._playback;
    out.insert("state", video.state);
    out.insert("cameraCount", video.cameras);
    out.insert("bootID", video._bootID);
    out.insert("preTimeSpan", qint64(video._preTimeSpan));
    out.insert("soundMute", video.bMoveSoundMute);
    out.insert("playback", QJsonObject{
                               {"userCarCode", p.userCarCode},
                               {"userDriverCode", p.userDriverCode},
                               {"title", p.title},
                               {"d2US", p.d2US},
                               {"gValue", p.gValue ? QJsonValue(*p.gValue) : QJsonValue::Null},
                               {"eventFPS", p.eventFPS},
                               {"movieFPS", p.movieFPS},
                               {"recordTime", timeValue(p.recordTime)},
                               {"endTime", timeValue(p.endTime)},
                           });
    QJsonObject thumbnail = frameObject(0, video._thumbnail);
    thumbnail.remove("key");
    addDatFrameMembers(thumbnail, video._thumbnail);
    out.insert("thumbnail", thumbnail);
}

std::optional<Date> parseDate(const QString &text)
{
    const QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid())
        return std::nullopt;
    return Date::fromDateTime(t);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Reads FILE as the card's background worker does and prints the recording as JSON.");
    parser.addHelpOption();
    parser.addPositionalArgument("FILE", "the recording file");
    const QCommandLineOption recTypeOption("rec-type", "MovieRec, EventRec, Yohin14Rec (default) or none",
                                           "type", "Yohin14Rec");
    const QCommandLineOption pictureTypeOption("picture-type", "All (default) or Thumbnail", "type", "All");
    const QCommandLineOption leftOption("left", "start of the time window (ISO 8601)", "time");
    const QCommandLineOption rightOption("right", "end of the time window (ISO 8601)", "time");
    parser.addOptions({recTypeOption, pictureTypeOption, leftOption, rightOption});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    static const QHash<QString, std::optional<PictureData::RecType>> recTypes = {
        {"MovieRec", PictureData::RecType::MovieRec},
        {"EventRec", PictureData::RecType::EventRec},
        {"Yohin14Rec", PictureData::RecType::Yohin14Rec},
        {"none", std::nullopt}};
    static const QHash<QString, PictureData::PictureDataType> pictureTypes = {
        {"All", PictureData::PictureDataType::All}, {"Thumbnail", PictureData::PictureDataType::Thumbnail}};
    const QString recTypeName = parser.value(recTypeOption);
    const QString pictureTypeName = parser.value(pictureTypeOption);
    const auto left = parser.isSet(leftOption) ? parseDate(parser.value(leftOption)) : Date::distantPast();
    const auto right =
        parser.isSet(rightOption) ? parseDate(parser.value(rightOption)) : Date::distantFuture();
    if (!recTypes.contains(recTypeName) || !pictureTypes.contains(pictureTypeName) || !left || !right) {
        std::fprintf(stderr, "recdump: bad option value\n");
        return 2;
    }
    const std::optional<PictureData::RecType> recType = recTypes.value(recTypeName);
    const PictureData::PictureDataType pictureType = pictureTypes.value(pictureTypeName);

    const QString path = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    const QUrl url = QUrl::fromLocalFile(path);
    const auto item = SettingInfo().getItem(SettingInfo::DataType::FileInfo);
    const QByteArray fileData(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
    const PictureData picture(url, pictureType, *left, *right, std::make_shared<FullTimeDataInfo>(), recType,
                              fileData);
    std::shared_ptr<VideoInfo> read = picture.video;
    QStringList errors = picture.errors;
    // Without a record type the unit reads nothing: the dispatch overload for the legacy layout does.
    if (!recType && pictureType != PictureData::PictureDataType::Thumbnail) {
        FullTimeDataInfo fullTime;
        read = VideoInfo::fromFile(url, picture.ver(), errors, *left, *right, pictureType, fullTime);
    }
    const bool isDat = pictureType == PictureData::PictureDataType::Thumbnail ||
                       recType != PictureData::RecType::Yohin14Rec ||
                       QFileInfo(path).suffix().toUpper() != QStringLiteral("MP4");

    // Without a recording the values of a new one are printed, with no frames.
    const std::shared_ptr<VideoInfo> video = read ? read : std::make_shared<VideoInfo>();
    QJsonObject cameras;
    if (read) {
        for (int number : video->cameraNumbers()) {
            QJsonArray frames;
            for (const auto &[key, frame] : video->getCameraFrames(number)) {
                QJsonObject o = frameObject(key, frame);
                if (isDat)
                    addDatFrameMembers(o, frame);
                frames.append(o);
            }
            cameras.insert(QString::number(number), frames);
        }
    }
    const PlaybackInfo &playback = video->_playback;
    QJsonObject out{
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
        {"errors", QJsonArray::fromStringList(errors)},
        {"problem", picture.problem.isEmpty() ? QJsonValue::Null : QJsonValue(picture.problem)},
        {"cameras", cameras},
    };
    if (isDat)
        addDatMembers(out, *video);
    const QByteArray json = QJsonDocument(out).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return read ? 0 : 1;
}
