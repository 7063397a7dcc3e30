// Routes drawn from a trip's driving data: chapters in start-time order up to the first one
// whose driving data is not built yet.
#include "map/WebMapView.h"

#include "FakeScriptSink.h"
#include "card/ChapterData.h"
#include "card/StandardCardFixture.h"
#include "card/TripData.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <cmath>

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
    EXPECT_EQ(sent.last(), "drawPolyline()");
    EXPECT_EQ(sent.size(), qsizetype(first.size() + 1));
    std::vector<std::pair<double, double>> drawn;
    for (const MapPoint &p : view.polyList())
        drawn.emplace_back(p.lat, p.lng);
    EXPECT_EQ(drawn, first);

    // The worker has built the second chapter: the main window draws the route again.
    ASSERT_TRUE(chapters[1]->getPicture(true));
    view.polyList().clear();
    view.drawRoute(*trip);
    EXPECT_GT(view.polyList().size(), first.size());
    sent = sink.take();
    EXPECT_EQ(sent.size(), qsizetype(view.polyList().size() + 1));
}
