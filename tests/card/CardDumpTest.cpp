#include "card/StandardCardFixture.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {
// The values of one key in each member of the array; the members themselves with no key.
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
    runTool("samplecard", {dir.path()});
    const auto json = runCarddump({dir.filePath("MOVE")});

    EXPECT_TRUE(json.value("openSourcePath").toString().endsWith("/MOVE/"));
    // The numbering gap splits 202405031000; the surveillance trip is off the tab; the adventure has
    // its own trip.
    const auto trips = json.value("trips").toArray();
    EXPECT_EQ(names(trips, "name"), (QStringList{"202405011230", "202405021700", "202405031000",
                                                 "202405031000", "202405032200", "202405041500"}));
    EXPECT_EQ(names(json.value("tabTrips").toArray()),
              (QStringList{"202405011230", "202405021700", "202405031000", "202405031000", "202405041500"}));
    EXPECT_EQ(names(json.value("advTrips").toArray()), QStringList{"202405041500"});
    EXPECT_EQ(names(json.value("events").toArray(), "detect"), (QStringList{"G", "SW", "SURV"}));
    const auto g = json.value("events").toArray()[0].toObject();
    EXPECT_EQ(clipChapters(g),
              (QStringList{"m2024050112300001.MP4", "m2024050112300002.MP4", "m2024050112300003.MP4"}));
    EXPECT_EQ(g.value("clip").toObject().value("position").toInteger(), 5500);
}

// carddump --workers runs both background workers until they have nothing left to try, also when a
// chapter no decoder can read is tried five times.
TEST(CardDumpTest, WorkersGiveEveryChapterAndEventItsThumbnailAndTheRunEnds)
{
    TempDir dir;
    runTool("samplecard", {dir.path()});
    const QString corrupt = "m2024050322000002.MP4";
    ASSERT_FALSE(dir.write("MOVE/MOVE001/" + corrupt, QByteArray(4096, 'x')).isEmpty());
    const auto json = runCarddump({"--workers", dir.filePath("MOVE")});
    int chapters = 0;
    for (const auto &trip : json.value("trips").toArray())
        for (const auto &value : trip.toObject().value("chapters").toArray()) {
            const auto file = value.toObject().value("file").toString();
            EXPECT_EQ(value.toObject().value("thumbnail").toBool(), file != corrupt) << file.toStdString();
            ++chapters;
        }
    EXPECT_EQ(chapters, 13);
    const auto events = json.value("events").toArray();
    ASSERT_EQ(events.size(), 3);
    for (const auto &event : events)
        EXPECT_TRUE(event.toObject().value("thumbnail").toBool());
}
