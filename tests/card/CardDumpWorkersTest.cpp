#include "support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
QString tool(const QString &name)
{
    return qEnvironmentVariable("ORV_BUILD_DIR") + "/devtools/" + name;
}
} // namespace

// carddump --workers runs both background workers until they have nothing left to try.
TEST(CardDumpWorkersTest, EveryChapterAndEventGetsItsThumbnailAndTheRunEnds)
{
    TempDir dir;
    QProcess samplecard;
    samplecard.start(tool("samplecard"), {dir.path()});
    ASSERT_TRUE(samplecard.waitForFinished(120000));
    ASSERT_EQ(samplecard.exitCode(), 0) << samplecard.readAllStandardError().toStdString();
    // A chapter no decoder can read: it is tried five times, then the run still ends.
    ASSERT_FALSE(dir.write("MOVE/MOVE001/m2024050322000002.MP4", QByteArray(4096, 'x')).isEmpty());

    QProcess carddump;
    carddump.start(tool("carddump"), {"--workers", dir.filePath("MOVE")});
    ASSERT_TRUE(carddump.waitForFinished(60000));
    ASSERT_EQ(carddump.exitCode(), 0) << carddump.readAllStandardError().toStdString();
    QJsonParseError error;
    const auto json = QJsonDocument::fromJson(carddump.readAllStandardOutput(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);

    int chapters = 0;
    for (const auto &trip : json.value("trips").toArray()) {
        for (const auto &value : trip.toObject().value("chapters").toArray()) {
            const auto chapter = value.toObject();
            const bool corrupt = chapter.value("file").toString() == "m2024050322000002.MP4";
            EXPECT_EQ(chapter.value("thumbnail").toBool(), !corrupt)
                << chapter.value("file").toString().toStdString();
            ++chapters;
        }
    }
    EXPECT_EQ(chapters, 13);
    const auto events = json.value("events").toArray();
    ASSERT_EQ(events.size(), 3);
    for (const auto &event : events)
        EXPECT_TRUE(event.toObject().value("thumbnail").toBool())
            << event.toObject().value("fileName").toString().toStdString();
}
