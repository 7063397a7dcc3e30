// A clip the trim job saved, read back as the card's worker reads it (recdump): the recording's
// detection and settings are what the clip's archive holds, not values worked out again from the
// clip's own frames; a clip cut from that clip carries them on unchanged.
#include "videotools/TrimWorker.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/FileUtil.h"
#include "recording/Mp4Reader.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// The archive the job appended to a clip, after the box's 8-byte file-information item.
std::optional<CutVideoKihonInfo> archiveOf(const QString &clip)
{
    const Mp4Reader reader(clip);
    const auto payload = reader.readPayload(Mp4Reader::BoxType::Udat);
    if (payload.size() < 8)
        return std::nullopt;
    return CutVideoKihonInfo::unarchive(
        QByteArray(reinterpret_cast<const char *>(payload.data()) + 8, qsizetype(payload.size()) - 8));
}

QJsonObject recdump(const QString &clip)
{
    QProcess recdump;
    recdump.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/recdump"), {clip});
    recdump.waitForFinished(-1);
    return QJsonDocument::fromJson(recdump.readAllStandardOutput()).object();
}

QString isoTime(const Date &date)
{
    return date.toDateTime().toUTC().toString(Qt::ISODateWithMs);
}

// What recdump prints of the recording's detection and settings, and the same as the archive holds it.
QJsonObject headerOf(const QJsonObject &dump)
{
    QJsonObject header;
    for (const char *key :
         {"detectTime", "detectPosition", "detectType", "sw", "fileVersion", "terminalType", "recMode"})
        header.insert(key, dump[key]);
    return header;
}

QJsonObject headerOf(const CutVideoKihonInfo &archive)
{
    const CutVideoSettingInfo &settings = archive._settingInfo;
    return QJsonObject{
        {"detectTime", archive._detectTime ? QJsonValue(isoTime(*archive._detectTime)) : QJsonValue()},
        {"detectPosition", qint64(archive._detectPosition)},
        {"detectType", archive._detectType ? QJsonValue(*archive._detectType) : QJsonValue()},
        {"sw", archive._sw},
        {"fileVersion", settings._fileVersion},
        {"terminalType", settings._terminalType ? caseName(*settings._terminalType) : QString()},
        {"recMode", settings._recMode ? CommonConst::caseName(*settings._recMode) : QString()},
    };
}

std::string text(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

TEST(TrimmedClipDataTest, AClipReadsBackItsArchiveAndACutOfItWritesTheSame)
{
    TempDir work;
    SampleScenario scenario = SampleScenario::singleChapter(3000);
    scenario.trips.front().chapters = {{1, 0, 3000}, {2, 3000, 3000}};
    scenario.keyFrameInterval = 10;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(work.path()));
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(work.filePath("MOVE")));
    ASSERT_EQ(card._tripList.size(), 1u);
    const ChapterList chapters = card._tripList.front()->sortedChapters();
    const auto source = chapters.front()->getPicture(true);
    ASSERT_TRUE(source && source->video);

    const auto trim = [&work](const ChapterList &from, int64_t startMs, int64_t endMs, const QString &name) {
        TrimRequest request;
        request.chapters = from;
        request.startMs = startMs;
        request.endMs = endMs;
        request.destination = work.filePath(name);
        request.workFolderBase = work.filePath("TMP");
        TrimWorker worker(request);
        EXPECT_EQ(worker.run(), TrimWorker::Result::Saved) << worker.errorText().toStdString();
        return request.destination;
    };

    // Over both chapters, from 1.5 s: the clip's first frame is 1.5 s after the recording's detection.
    const QString clip = trim(chapters, 1500, 4500, "clip.mp4");
    const auto archive = archiveOf(clip);
    ASSERT_TRUE(archive);
    const QJsonObject dump = recdump(clip);
    ASSERT_TRUE(dump["isCutVideo"].toBool());
    EXPECT_EQ(archive->_detectTime, source->video->_playback.detectTime) << "the job archives the source's";
    ASSERT_NE(dump["firstTime"], headerOf(*archive)["detectTime"])
        << "the clip must not start at the detection";
    EXPECT_EQ(text(headerOf(dump)), text(headerOf(*archive)));
    // The archive's integers for the camera build and the recording mode carry no agreed meaning:
    // every clip reads as None and Nomal.
    EXPECT_EQ(dump["terminalType"].toString().toStdString(), "None");
    EXPECT_EQ(dump["recMode"].toString().toStdString(), "Nomal");

    // The saved clip as the source of another trim, as the card's worker reads it.
    const auto clipTrip = TripData::create(nullptr, {QUrl::fromLocalFile(clip)}, QString());
    const QString again = trim(clipTrip->sortedChapters(), 500, 2500, "again.mp4");
    const auto archiveAgain = archiveOf(again);
    ASSERT_TRUE(archiveAgain);
    EXPECT_EQ(text(headerOf(*archiveAgain)), text(headerOf(*archive)));
    EXPECT_EQ(text(headerOf(recdump(again))), text(headerOf(*archive)));
    clipTrip->dispose();
    card.dispose();
}

} // namespace
