// Routes drawn from a trip's driving data: chapters in start-time order up to the first one
// whose driving data is not built yet.
#include "map/WebMapView.h"

#include "FakeScriptSink.h"
#include "card/ChapterData.h"
#include "card/StandardCardFixture.h"
#include "card/TripData.h"
#include "map/MapScriptText.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <functional>

class WebMapRouteTest : public StandardCardFixture
{
protected:
    void SetUp() override
    {
        StandardCardFixture::SetUp();
        view.setReachabilityCheck([](std::function<void(bool)> done) { done(false); });
        view.setVersionNoteFolder({});
        view.updateMap(); // settings applied: routes go out at once
        sink.take();
    }

    // The route points one chapter gives, as the bridge should compute them.
    static std::vector<std::pair<double, double>> positionsOf(ChapterData &chapter)
    {
        std::vector<std::pair<double, double>> out;
        const auto picture = chapter.getPicture(false);
        if (!picture || !picture->video)
            return out;
        for (const auto &frame : VideoInfo::convertDictionary(picture->video->getCameraFrames(0))) {
            if (!frame.ex.isFrameEnable || (frame._latitude == 0 && frame._longitude == 0))
                continue;
            out.emplace_back(std::round(frame._latitude / 36000.0 * 1e6) / 1e6,
                             std::round(frame._longitude / 36000.0 * 1e6) / 1e6);
        }
        return out;
    }

    FakeScriptSink sink;
    WebMapView view{&sink, WebMapView::Settings{}};
};

TEST_F(WebMapRouteTest, ASecondChapterWithoutDrivingDataWaitsForTheNextCall)
{
    const auto trip = card._tripList.at(0);
    const ChapterList chapters = trip->sortedChapters();
    ASSERT_GE(chapters.size(), 2u);
    ASSERT_FALSE(chapters[1]->getPicture(false)); // the management records gave the start times
    ASSERT_TRUE(chapters[0]->getPicture(true));
    const auto first = positionsOf(*chapters[0]);
    ASSERT_GT(first.size(), 2u);

    view.drawRoute(*trip);
    QStringList sent = sink.take();
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent, (QStringList{MapScriptText::addPackedPolyPoints(view.polyList()), "drawPolyline()"}))
        << "the points go in one call";
    std::vector<std::pair<double, double>> drawn;
    for (const RoutePoint &p : view.polyList())
        drawn.emplace_back(p.lat, p.lng);
    EXPECT_EQ(drawn, first);

    // The worker has built the second chapter: the main window draws the route again.
    ASSERT_TRUE(chapters[1]->getPicture(true));
    view.polyList().clear();
    view.drawRoute(*trip);
    EXPECT_GT(view.polyList().size(), first.size());
    EXPECT_EQ(sink.take(),
              (QStringList{MapScriptText::addPackedPolyPoints(view.polyList()), "drawPolyline()"}));
}

// The redraw while the workers run: only the points of chapters that became ready go out, continuing
// the line; another trip, or a route emptied or added to meanwhile, is drawn again whole.
TEST_F(WebMapRouteTest, ExtendingSendsOnlyTheChaptersThatBecameReady)
{
    const auto trip = card._tripList.at(0);
    const ChapterList chapters = trip->sortedChapters();
    ASSERT_GE(chapters.size(), 3u);
    ASSERT_TRUE(chapters[0]->getPicture(true));
    view.drawRoute(*trip);
    const size_t firstCount = view.polyList().size();
    sink.take();

    view.extendRoute(*trip);
    EXPECT_TRUE(sink.take().isEmpty()) << "nothing new, nothing sent";

    ASSERT_TRUE(chapters[1]->getPicture(true));
    ASSERT_TRUE(chapters[2]->getPicture(true));
    view.extendRoute(*trip);
    const std::vector<RoutePoint> added(view.polyList().begin() + qsizetype(firstCount),
                                        view.polyList().end());
    ASSERT_FALSE(added.empty());
    EXPECT_EQ(sink.take(), (QStringList{MapScriptText::addPackedPolyPoints(added), "extendPolyline()"}));
    const std::vector<RoutePoint> grown = view.polyList();

    // What a whole new drawing gives: the same points.
    view.polyList().clear();
    view.drawRoute(*trip);
    ASSERT_EQ(grown.size(), view.polyList().size());
    for (size_t i = 0; i < grown.size(); ++i)
        EXPECT_TRUE(grown[i].lat == view.polyList()[i].lat && grown[i].lng == view.polyList()[i].lng) << i;
    sink.take();

    const struct
    {
        const char *name;
        std::function<void()> meanwhile;
    } whole[] = {
        {"an event's route", [&] { view.appendPolyPoint(1.0, 2.0); }},
        {"the route emptied", [&] { view.polyList().clear(); }},
        {"another trip", [&] { view.drawRoute(*card._tripList.at(1)); }},
    };
    for (const auto &c : whole) {
        SCOPED_TRACE(c.name);
        c.meanwhile();
        sink.take();
        view.extendRoute(*trip);
        const QStringList sent = sink.take();
        ASSERT_EQ(sent.size(), 3);
        EXPECT_EQ(sent[0], "removePolyLine()");
        EXPECT_EQ(sent[2], "drawPolyline()");
        EXPECT_EQ(view.polyList().size(), grown.size());
    }
}

// A long route goes to the page one call a turn of the event loop, so that the window answers between
// them; the page ends with every point once, in order, and the command that draws them. Meanwhile an
// extension rides along, a removal ends the line, and a new line makes the page drop what it was sent.
TEST_F(WebMapRouteTest, ALongRouteGoesOneCallATurnAndEndsWithEveryPointOnce)
{
    constexpr int POINTS = 120000;
    const auto fill = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            view.appendPolyPoint(10.0 + i * 1e-5, 20.0);
    };
    // What the page holds after the scripts: the points sent since its last removal, and whether the
    // last script drew them.
    struct Page
    {
        size_t points = 0;
        QString last;
        int calls = 0;
    };
    const auto replay = [](const QStringList &scripts, Page page = {}) {
        for (const QString &script : scripts) {
            if (script == "removePolyLine()")
                page.points = 0;
            else if (script.startsWith("addPackedPolyPoints(\"")) {
                // Whole millionths go as steps, a number's last byte below 0x80; others as 16 bytes.
                const bool steps = script.endsWith("\",1)");
                const QByteArray bytes =
                    QByteArray::fromBase64(script.mid(21, script.size() - (steps ? 25 : 23)).toLatin1());
                page.points += steps ? size_t(std::count_if(bytes.begin(), bytes.end(),
                                                            [](char b) { return (b & 0x80) == 0; }) /
                                              2)
                                     : size_t(bytes.size() / 16);
            }
            page.last = script;
            ++page.calls;
        }
        return page;
    };
    const auto turn = [] { QCoreApplication::processEvents(); };

    fill(0, POINTS);
    view.drawPolyline();
    Page page = replay(sink.take());
    EXPECT_EQ(page.calls, 1) << "one call in the first turn";
    EXPECT_NE(page.last, "drawPolyline()");
    fill(POINTS, POINTS + 10); // an extension while under way
    view.drawPolyline();       // a new whole line: the page drops what it was sent
    page = replay(sink.take(), page);
    EXPECT_EQ(page.points, 50000u);
    for (int i = 0; i < 10 && page.last != "drawPolyline()"; ++i)
        page = replay(sink.take(), (turn(), page));
    EXPECT_EQ(page.last, "drawPolyline()");
    EXPECT_EQ(page.points, size_t(POINTS + 10));
    turn();
    EXPECT_TRUE(sink.take().isEmpty()) << "nothing after the line is drawn";

    // A removal ends a line under way.
    view.drawPolyline();
    sink.take();
    view.removeRoute();
    EXPECT_EQ(sink.take(), QStringList{"removePolyLine()"});
    turn();
    EXPECT_TRUE(sink.take().isEmpty());
}
