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

QStringList names(const QJsonArray &array, const QString &key = {})
{
    QStringList result;
    for (const auto &v : array)
        result << (key.isEmpty() ? v.toString() : v.toObject().value(key).toString());
    return result;
}

QStringList clipChapters(const QJsonObject &item)
{
    return names(item.value("clip").toObject().value("chapters").toArray());
}
} // namespace

// The standard scenario through both programs: what the card library makes of a whole card.
TEST(CardDumpTest, StandardCardGivesItsTripsEventsAndAdventures)
{
    TempDir dir;
    QProcess samplecard;
    samplecard.start(tool("samplecard"), {dir.path()});
    ASSERT_TRUE(samplecard.waitForFinished(120000));
    ASSERT_EQ(samplecard.exitCode(), 0) << samplecard.readAllStandardError().toStdString();

    QProcess carddump;
    carddump.start(tool("carddump"), {dir.filePath("MOVE")});
    ASSERT_TRUE(carddump.waitForFinished(60000));
    ASSERT_EQ(carddump.exitCode(), 0) << carddump.readAllStandardError().toStdString();
    QJsonParseError error;
    const auto json = QJsonDocument::fromJson(carddump.readAllStandardOutput(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);

    EXPECT_TRUE(json.value("openSourcePath").toString().endsWith("/MOVE/"));
    const auto trips = json.value("trips").toArray();
    EXPECT_EQ(names(trips, "name"), (QStringList{"202405011230", "202405021700", "202405031000",
                                                 "202405031000", "202405032200", "202405041500"}));
    // The numbering gap: 1 and 2, then 4 alone.
    EXPECT_EQ(names(trips[2].toObject().value("chapters").toArray(), "file"),
              (QStringList{"m2024050310000001.MP4", "m2024050310000002.MP4"}));
    EXPECT_EQ(names(trips[3].toObject().value("chapters").toArray(), "file"),
              QStringList{"m2024050310000004.MP4"});
    const auto first = trips[0].toObject().value("chapters").toArray();
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0].toObject().value("startTime").toString(), "2024-05-01T12:30:00.000Z");
    EXPECT_EQ(first[0].toObject().value("timeStamp").toInteger(), 3600000);
    EXPECT_EQ(first[0].toObject().value("frameTimeSpan").toInteger(), 4000);
    // The last chapter's length is its recording's own span.
    const auto lastSpan = first[2].toObject().value("frameTimeSpan").toInteger();
    EXPECT_GT(lastSpan, 3800);
    EXPECT_LT(lastSpan, 4000);
    EXPECT_FALSE(first[0].toObject().value("thumbnail").toBool());

    // The surveillance trip is off the tab; the adventure has its own trip.
    EXPECT_EQ(names(json.value("tabTrips").toArray()),
              (QStringList{"202405011230", "202405021700", "202405031000", "202405031000", "202405041500"}));
    EXPECT_EQ(names(json.value("advTrips").toArray()), QStringList{"202405041500"});
    EXPECT_EQ(json.value("vrec").toArray().size(), 13);

    const auto events = json.value("events").toArray();
    ASSERT_EQ(events.size(), 3);
    const auto g = events[0].toObject();
    EXPECT_EQ(g.value("detect").toString(), "G");
    EXPECT_EQ(g.value("chapter").toString(), "m2024050112300002.MP4");
    EXPECT_EQ(g.value("datetime").toString(), "2024-05-01T12:30:05.000Z");
    EXPECT_EQ(clipChapters(g),
              (QStringList{"m2024050112300001.MP4", "m2024050112300002.MP4", "m2024050112300003.MP4"}));
    EXPECT_EQ(g.value("clip").toObject().value("position").toInteger(), 5500);
    EXPECT_EQ(g.value("clip").toObject().value("start").toInteger(), 0);
    EXPECT_EQ(g.value("clip").toObject().value("end").toInteger(), 4000 + 1 + 4000 + 1 + lastSpan);

    const auto sw = events[1].toObject();
    EXPECT_EQ(sw.value("detect").toString(), "SW");
    EXPECT_EQ(clipChapters(sw), (QStringList{"m2024050217000001.MP4", "m2024050217000002.MP4"}));
    EXPECT_EQ(sw.value("clip").toObject().value("position").toInteger(), 4000);

    const auto surv = events[2].toObject();
    EXPECT_EQ(surv.value("detect").toString(), "SURV");
    EXPECT_EQ(surv.value("chapter").toString(), "m2024050322000001.MP4");
    EXPECT_EQ(clipChapters(surv), (QStringList{"m2024050322000001.MP4", "m2024050322000002.MP4"}));
    EXPECT_EQ(surv.value("clip").toObject().value("position").toInteger(), 1000);
    EXPECT_EQ(surv.value("clip").toObject().value("start").toInteger(), 1000);

    const auto adventures = json.value("adventures").toArray();
    ASSERT_EQ(adventures.size(), 3);
    for (const auto &a : adventures) {
        EXPECT_EQ(clipChapters(a.toObject()),
                  (QStringList{"m2024050415000001.MP4", "m2024050415000002.MP4", "m2024050415000003.MP4"}));
        EXPECT_EQ(a.toObject().value("clip").toObject().value("position").toInteger(), -1);
    }
}
