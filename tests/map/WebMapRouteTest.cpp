// Routes drawn from a trip's driving data: chapters in start-time order up to the first one
// whose driving data is not built yet.
#include "map/WebMapView.h"

#include "FakeScriptSink.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class WebMapRouteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view = std::make_unique<WebMapView>(&sink, WebMapView::Settings{});
        view->setReachabilityCheck([](std::function<void(bool)> done) { done(false); });
        view->setVersionNoteFolder({});
        view->updateMap(); // settings applied: routes go out at once
        sink.take();
    }

    std::shared_ptr<TripData> tripOfTwoOrMoreChapters()
    {
        SampleCardWriter writer(SampleScenario::standard());
        if (!writer.writeCard(dir.path()))
            return nullptr;
        card.loadCardFolder(FileUtil::fileUrl(SampleCardWriter::cardFolder(dir.path())));
        for (const auto &trip : card._tripList) {
            if (trip->chapterCount() >= 2)
                return trip;
        }
        return nullptr;
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

    TempDir dir;
    CardData card;
    FakeScriptSink sink;
    std::unique_ptr<WebMapView> view;
};

} // namespace

TEST_F(WebMapRouteTest, ASecondChapterWithoutDrivingDataWaitsForTheNextCall)
{
    const auto trip = tripOfTwoOrMoreChapters();
    ASSERT_TRUE(trip);
    const ChapterList chapters = trip->sortedChapters();
    ASSERT_FALSE(chapters[1]->getPicture(false)); // the management records gave the start times
    ASSERT_TRUE(chapters[0]->getPicture(true));
    const auto first = positionsOf(*chapters[0]);
    ASSERT_GT(first.size(), 2u);

    view->drawRoute(*trip);
    QStringList sent = sink.take();
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.last(), "drawPolyline()");
    ASSERT_EQ(view->polyList().size(), first.size());
    EXPECT_EQ(sent.size(), qsizetype(first.size() + 1));
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(view->polyList()[i].lat, first[i].first);
        EXPECT_EQ(view->polyList()[i].lng, first[i].second);
    }

    // The worker has built the second chapter: the main window draws the route again.
    ASSERT_TRUE(chapters[1]->getPicture(true));
    view->polyList().clear();
    view->drawRoute(*trip);
    EXPECT_GT(view->polyList().size(), first.size());
    sent = sink.take();
    EXPECT_EQ(sent.size(), qsizetype(view->polyList().size() + 1));
}

TEST_F(WebMapRouteTest, ATripWithoutChaptersDrawsAnEmptyLine)
{
    const auto trip = TripData::create(nullptr, {}, "empty");
    view->drawRoute(*trip);
    EXPECT_EQ(sink.take(), QStringList{"drawPolyline()"});
}

TEST_F(WebMapRouteTest, BeforeTheSettingsTheRouteIsKeptForLater)
{
    FakeScriptSink freshSink;
    WebMapView fresh(&freshSink, WebMapView::Settings{});
    const auto trip = tripOfTwoOrMoreChapters();
    ASSERT_TRUE(trip);
    for (const auto &chapter : trip->sortedChapters())
        chapter->getPicture(true);
    fresh.drawRoute(*trip);
    EXPECT_TRUE(freshSink.scripts.isEmpty());
    EXPECT_FALSE(fresh.polyList().empty());
    fresh.updateMap();
    EXPECT_EQ(freshSink.scripts.count("drawPolyline()"), 1);
}
