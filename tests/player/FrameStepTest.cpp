// The frame-step buttons' steps and a pause from play on the real engine, over a generated trip whose
// pictures carry their frame numbers: what the engine shows after each press.
#include "player/MoviePlayerView.h"

#include "player/FrameSteps.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"

#include "TripFixture.h"
#include "recording/FileUtil.h"
#include "support/EventLoop.h"
#include "support/FrameStamp.h"
#include "support/TempDir.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

using PlayStatus = CommonConst::PlayStatus;

namespace {

constexpr int WIDTH = 320;
constexpr double FPS = 30.0;

// Chapter index and frame number of the picture on screen, and the frame the engine's time gives.
struct Shown
{
    int64_t chapter = -1;
    int stamp = -1;
    long fromTime = -1;
    bool operator==(const Shown &) const = default;
};

Shown shownBy(MoviePlayerView &panel, const ChapterList &chapters)
{
    Shown shown;
    auto *engine = dynamic_cast<MpvEngine *>(panel.engine());
    const auto at = std::find(chapters.begin(), chapters.end(), panel.currentChapterData());
    if (!engine || at == chapters.end())
        return shown;
    shown.chapter = at - chapters.begin();
    shown.stamp = frameStampIn(engine->softwareFrame(), WIDTH).value_or(-1);
    shown.fromTime = std::lround(engine->currentTime() * FPS);
    return shown;
}

// 44 presses forward from the first chapter's start into the second, then as many back; the picture
// on screen after each press, stopped at the start at last.
void stepAcross(const ChapterList &chapters, int picturesPerChapter)
{
    MoviePlayerView panel([] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
    panel.resize(480, 320);
    panel.setValueInfo(std::make_shared<PlayMovieValueInfo>(chapters, CardData::ActiveType::MovieRec));
    panel.preparePlayer();
    const Shown first{0, 0, 0};
    ASSERT_TRUE(EventLoop::waitUntil([&] { return shownBy(panel, chapters) == first; }));
    ASSERT_EQ(panel.currentStatus(), PlayStatus::Stop);
    const struct
    {
        const char *button;
        int direction;
        void (MoviePlayerView::*press)();
    } ways[] = {{"forward", 1, &MoviePlayerView::frameForward}, {"back", -1, &MoviePlayerView::frameBack}};
    int frame = 0; // counted over both chapters
    for (const auto &way : ways) {
        for (int press = 0; press < 44; ++press) {
            frame += way.direction;
            const int picture = frame % picturesPerChapter;
            const Shown expected{frame / picturesPerChapter, picture, picture};
            (panel.*way.press)();
            EventLoop::waitUntil([&] { return shownBy(panel, chapters) == expected; },
                                 std::chrono::seconds(3));
            const Shown shown = shownBy(panel, chapters);
            ASSERT_EQ(shown, expected) << way.button << " press " << press + 1 << " shows chapter "
                                       << shown.chapter << " frame " << shown.stamp << " (engine time: frame "
                                       << shown.fromTime << "), not frame " << expected.stamp;
        }
    }
    EXPECT_EQ(panel.valueInfo()->currentValue(), 0);
    EXPECT_EQ(panel.currentStatus(), PlayStatus::Stop) << "back at the first picture stops at the start";
}

} // namespace

TEST(FrameStepTest, EachPressShowsTheNeighbouringPictureOnBothSidesOfAChapterBorder)
{
    // 28 records of driving data a second to 30 pictures, as the camera and samplecard write them:
    // steps by the records alone would skip two pictures a second.
    {
        SCOPED_TRACE("chapters as long as their records: 31 pictures, 0 to 1000 ms");
        const TripFixture trip({1030, 1030}, WIDTH, 180, 28.0, 0, true, FPS);
        ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
        stepAcross(trip.chapters, 31);
    }
    {
        // The card's records give each chapter the time up to the next one's start: 1000 ms, whose last
        // instant lies past the movie's last picture.
        SCOPED_TRACE("chapters of a card, up to the next one: 30 pictures");
        TempDir dir;
        SampleScenario scenario = SampleScenario::chapters(2, 1000);
        scenario.videoWidth = WIDTH;
        scenario.videoHeight = 180;
        scenario.videoFps = FPS;
        scenario.frameStamp = true;
        SampleCardWriter writer(scenario);
        ASSERT_TRUE(writer.writeCard(dir.path())) << writer.lastError().toStdString();
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(SampleCardWriter::cardFolder(dir.path())));
        ASSERT_EQ(card._tripList.size(), 1u);
        stepAcross(card._tripList[0]->sortedChapters(), 30);
        card.dispose();
    }
}

TEST(FrameStepTest, StepsGoToThePicturesStartAndEndAtTheItemsFirstAndLastPictures)
{
    // 28 records a second to 30 pictures; picture n starts at n x 33.3 ms.
    const TripFixture trip({1000, 1000}, 64, 48, 28.0, 0, false, FPS);
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    const ChapterTimeline timeline(trip.chapters);
    const int64_t second = timeline.start(1), end = timeline.totalLength();
    const struct
    {
        int64_t position;
        int direction;
        int64_t expected;
    } rows[] = {
        {0, 1, 33},
        {40, 1, 67},
        {40, -1, 0},
        {0, -1, 0},
        {second - 1, 1, second},
        {second, -1, 933}, // the first chapter's last picture, 28: its records end at 964 ms
        {second + 33, -1, second},
        {end, 1, end},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(FrameSteps::neighbour(timeline, row.position, row.direction, FPS), row.expected)
            << row.position << " " << row.direction;
    }
    // A movie with fewer pictures than its records reach ends the chapter at its last one.
    const auto twentyEight = [](int64_t) -> int64_t { return 28; };
    EXPECT_EQ(FrameSteps::neighbour(timeline, 900, 1, FPS, twentyEight), second);
    EXPECT_EQ(FrameSteps::neighbour(timeline, second, -1, FPS, twentyEight), 900);
    EXPECT_EQ(FrameSteps::neighbour(timeline, 40, 1, 0.0), std::nullopt) << "no frame rate";
    EXPECT_EQ(FrameSteps::neighbour(ChapterTimeline(), 0, 1, FPS), std::nullopt);
}

// Each picture's first position shows it, and the position before it the picture before: the position a pause
// comes to names the picture on screen, and a step from there goes one picture on.
TEST(FrameStepTest, EachPicturesFirstPositionShowsIt)
{
    const TripFixture trip({1000, 1000}, 64, 48, 28.0, 0, false, FPS);
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    const ChapterTimeline timeline(trip.chapters);
    // The movies' own count, which gives the last chapter the pictures after its last record.
    const auto thirty = [](int64_t) -> int64_t { return 30; };
    for (int64_t chapter = 0; chapter < 2; ++chapter) {
        for (int64_t number = 0; number < 30; ++number) {
            const FrameSteps::Picture picture{chapter, number};
            const auto position = FrameSteps::positionOf(timeline, picture, FPS, thirty);
            // The first chapter's records end at 964 ms, before its last picture starts.
            if (chapter == 0 && number == 29) {
                EXPECT_EQ(position, std::nullopt);
                continue;
            }
            ASSERT_TRUE(position) << chapter << "/" << number;
            EXPECT_EQ(FrameSteps::pictureAtPosition(timeline, *position, FPS, thirty), picture) << *position;
            if (number > 0)
                EXPECT_EQ(FrameSteps::pictureAtPosition(timeline, *position - 1, FPS, thirty),
                          (FrameSteps::Picture{chapter, number - 1}))
                    << *position;
        }
    }
    EXPECT_EQ(FrameSteps::positionOf(timeline, {2, 0}, FPS), std::nullopt) << "no third chapter";
    EXPECT_EQ(FrameSteps::positionOf(timeline, {0, -1}, FPS), std::nullopt);
    EXPECT_EQ(FrameSteps::pictureAtPosition(timeline, timeline.totalLength(), FPS, thirty),
              (FrameSteps::Picture{1, 29}))
        << "the item's end shows the last picture";
}

// Paused from play at several moments, the engine comes to rest on a picture no earlier than the last one it
// showed before the pause, and the position names it.
TEST(FrameStepTest, APauseFromPlayRestsOnNoEarlierPictureAndThePositionNamesIt)
{
    const TripFixture trip({3000, 3000}, WIDTH, 180, 28.0, 0, true, FPS);
    ASSERT_TRUE(trip.ok()) << qPrintable(trip.error);
    MoviePlayerView panel([] { return std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software); });
    panel.resize(480, 320);
    panel.setValueInfo(std::make_shared<PlayMovieValueInfo>(trip.chapters, CardData::ActiveType::MovieRec));
    panel.preparePlayer();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return shownBy(panel, trip.chapters) == Shown{0, 0, 0}; }));
    // Every picture the engine hands the widget, in order.
    std::vector<Shown> seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const Shown now = shownBy(panel, trip.chapters);
        if (now.stamp >= 0 &&
            (seen.empty() || seen.back().stamp != now.stamp || seen.back().chapter != now.chapter))
            seen.push_back(now);
    });
    watch.start(1);
    const auto info = panel.valueInfo();
    const auto counts = [info](int64_t index) { return info->pictureCount(index); };
    // At x2 the picture may run ahead of the clock by up to the lead (PlaybackSync).
    ASSERT_TRUE(panel.setPlayRate(2.0f));
    for (const int playMs : {350, 260, 410, 230, 370, 300}) {
        panel.playMovie();
        EventLoop::runFor(std::chrono::milliseconds(playMs));
        const Shown before = seen.back();
        const size_t from = seen.size();
        panel.pauseMovie();
        bool atRest = false;
        panel.whenPictureAtRest([&] { atRest = true; });
        ASSERT_TRUE(EventLoop::waitUntil([&] { return atRest; }));
        EventLoop::runFor(std::chrono::milliseconds(300));
        const Shown rest = seen.back();
        for (size_t i = from; i < seen.size(); ++i)
            EXPECT_TRUE(seen[i].chapter > before.chapter || seen[i].stamp >= before.stamp)
                << "after " << playMs << " ms: " << seen[i].stamp << " after " << before.stamp;
        EXPECT_EQ(FrameSteps::pictureAtPosition(info->timeline(), info->currentValue(), FPS, counts),
                  (FrameSteps::Picture{rest.chapter, rest.stamp}))
            << "after " << playMs << " ms the engine rests on chapter " << rest.chapter << " picture "
            << rest.stamp;
    }
}
