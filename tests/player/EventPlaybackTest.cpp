// Event and surveillance recordings of a generated card through the panel: the event model, its
// moment on the timeline, its marker and where stop returns to.
#include "player/MoviePlayerView.h"

#include "player/CustomSliderCell.h"
#include "player/PlayMovieValueInfo.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include "FakeMediaEngine.h"

#include <gtest/gtest.h>

using PlayStatus = CommonConst::PlayStatus;

namespace {

class EventPlaybackTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        SampleCardWriter writer(SampleScenario::standard());
        if (!writer.writeCard(dir->path()))
            error = "the sample card was not written: " + writer.lastError();
    }
    static void TearDownTestSuite() { dir.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(error.isEmpty()) << qPrintable(error);
        card.loadCardFolder(FileUtil::fileUrl(SampleCardWriter::cardFolder(dir->path())));
        panel = std::make_unique<MoviePlayerView>([this] {
            auto engine = std::make_unique<FakeMediaEngine>();
            // The first engine is the one on screen; a second waits for the next chapter.
            if (!fake)
                fake = engine.get();
            return engine;
        });
    }

    std::shared_ptr<MoveProtectInfo> record(MoveProtectInfo::DetectStatus kind)
    {
        for (const auto &r : card._moveProtectList)
            if (r->_detect == kind && card.getEventChapter(*r))
                return r;
        return nullptr;
    }

    static inline std::unique_ptr<TempDir> dir;
    static inline QString error;
    CardData card;
    FakeMediaEngine *fake = nullptr;
    std::unique_ptr<MoviePlayerView> panel;
};

} // namespace

TEST_F(EventPlaybackTest, ShockEventPlaysFromItsClipStartWithItsMomentAndMarker)
{
    const auto shock = record(MoveProtectInfo::DetectStatus::G);
    ASSERT_NE(shock, nullptr);
    panel->setEventMovie(card, shock);
    const auto model = panel->valueInfo();
    EXPECT_EQ(model->playType(), CommonConst::PlayType::Event);
    ASSERT_FALSE(model->chapterDataList().empty());
    ASSERT_TRUE(model->eventValue().has_value());
    EXPECT_GE(*model->eventValue(), 0);
    EXPECT_EQ(model->minValue(), std::max<int64_t>(0, *model->eventValue() - 12000));
    EXPECT_EQ(model->currentValue(), model->minValue());
    // The moment is where the shock's own record lies on the timeline, past the border into its chapter.
    const auto atMoment = PictureDataUtil::getVideoFrame(model->timeline(), int32_t(panel->eventFrame()));
    ASSERT_TRUE(atMoment);
    EXPECT_EQ(atMoment->_timeStamp, shock->_timeStamp);
    EXPECT_EQ(panel->eventFrame(), *model->eventValue());
    // The shock's marker sits at its moment on the track bar.
    const auto &markers = panel->trackCell()->markers();
    ASSERT_EQ(markers.count(*model->eventValue() - model->minValue()), 1u);
    EXPECT_EQ(markers.at(*model->eventValue() - model->minValue()), "parts_marker_g");

    // Stop returns to the clip's start (not to a chapter start), or to the stopwatch's if later.
    fake->becomeReady();
    ASSERT_EQ(panel->currentStatus(), PlayStatus::Stop);
    panel->moveToPosition(model->maxValue() - 100, PlayStatus::Pause);
    model->setStartValueStopwatch(model->minValue() + 250);
    panel->stopMovie();
    EXPECT_EQ(model->currentValue(), model->minValue() + 250);
}

TEST_F(EventPlaybackTest, SurveillanceRecordingPlaysSixtySecondsFromItsMoment)
{
    const auto surveillance = record(MoveProtectInfo::DetectStatus::SURV);
    if (!surveillance)
        GTEST_SKIP() << "the standard card has no surveillance record on its trips";
    panel->setEventMovie(card, surveillance);
    const auto model = panel->valueInfo();
    EXPECT_EQ(model->playType(), CommonConst::PlayType::Surveillance);
    EXPECT_EQ(model->minValue(), *model->eventValue());
    EXPECT_TRUE(panel->trackCell()->markers().empty());
}

TEST_F(EventPlaybackTest, AdventureStopReturnsToTheChapterStart)
{
    ASSERT_FALSE(card._tripList.empty());
    const ChapterList chapters = card._tripList.front()->sortedChapters();
    ASSERT_GE(chapters.size(), 2u);
    panel->setValueInfo(std::make_shared<PlayMovieValueInfo>(chapters, CardData::ActiveType::AdventureRec));
    panel->preparePlayer();
    fake->becomeReady();
    const int64_t second = PictureDataUtil::getPosition(chapters, 1, 0);
    panel->moveToPosition(second + 900, PlayStatus::Pause);
    panel->stopMovie();
    EXPECT_EQ(panel->valueInfo()->currentValue(), second);
}
