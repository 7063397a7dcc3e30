// The picture on a real X screen against the player's position whenever it comes to rest, through the
// main window's buttons and the real engine, on a camera-sized trip whose pictures carry their frame
// numbers: paused from play, stepped a frame either way, and the capture's still, on an idle machine and
// with every core busy. It needs a display (scripts/test.d/30-player-gl.sh starts Xvfb for it).
#include "app/CardOpener.h"
#include "app/ItemPlayback.h"
#include "app/MainWindowLayout.h"
#include "app/ModalWindow.h"
#include "player/FrameSteps.h"
#include "player/MoviePlayerView.h"
#include "player/MpvEngine.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerControls.h"
#include "player/PlayerView.h"
#include "videotools/CaptureView.h"
#include "videotools/StillCapture.h"

#include "MainWindowFixture.h"
#include "StampedTrip.h"
#include "support/BusyCores.h"
#include "support/FrameStamp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace {

constexpr int WIDTH = 1280;
constexpr double FPS = 30.0;
constexpr int CHAPTER_MS = 4000, PICTURES_PER_CHAPTER = int(CHAPTER_MS * FPS / 1000);
// A picture a pause, a step or a still brings is on screen long before this; it only ends a round whose
// picture never comes.
constexpr std::chrono::seconds SETTLE_LIMIT(15);
// A picture that stays this long is the one the player came to rest on.
constexpr std::chrono::milliseconds AT_REST(500);

// A picture named by its chapter and its frame number in that chapter's movie.
struct Picture
{
    int64_t chapter = -1;
    int frame = -1;
    bool operator==(const Picture &) const = default;
    // A step on from a chapter's last picture is the next chapter's first.
    Picture next() const
    {
        return frame + 1 < PICTURES_PER_CHAPTER ? Picture{chapter, frame + 1} : Picture{chapter + 1, 0};
    }
    friend void PrintTo(const Picture &picture, std::ostream *out)
    {
        *out << "chapter " << picture.chapter << " frame " << picture.frame;
    }
};

struct TripOnScreen : Fixture
{
    TripOnScreen()
    {
        EXPECT_TRUE(showAndOpenBackup(writeStampedTrip(card, 3, CHAPTER_MS, QSize(WIDTH, 720), FPS), false));
        window->resize(1280, 900);
        window->itemPlayback().playTripItem(0, 0, false, true);
        EXPECT_TRUE(EventLoop::waitUntil([&] { return onScreen() == Picture{0, 0}; }));
    }
    MoviePlayerView *player() const { return window->panels()->moviePlayerView(); }
    QAbstractButton *button(const char *name) const
    {
        return qobject_cast<QAbstractButton *>(player()->controls()->control(QString::fromLatin1(name)));
    }
    int64_t chapterIndex(const std::shared_ptr<ChapterData> &chapter) const
    {
        const ChapterList &chapters = player()->valueInfo()->chapterDataList();
        const auto at = std::find(chapters.begin(), chapters.end(), chapter);
        return at == chapters.end() ? -1 : at - chapters.begin();
    }
    // What the X server shows in the picture's place, read from its frame stamp.
    Picture onScreen() const
    {
        QWidget *layer = player()->playerView()->playerLayer();
        if (!layer || !layer->isVisible())
            return {};
        const QPoint topLeft = layer->mapToGlobal(QPoint(0, 0));
        const QImage grabbed = layer->screen()
                                   ->grabWindow(0, topLeft.x(), topLeft.y(), layer->width(), layer->height())
                                   .toImage();
        const auto frame = frameStampIn(grabbed, WIDTH);
        return frame ? Picture{chapterIndex(player()->currentChapterData()), *frame} : Picture{};
    }
    // The frame in the engine's last software picture, which the video widget paints.
    int drawn() const
    {
        const auto *engine = dynamic_cast<MpvEngine *>(player()->engine());
        return engine ? frameStampIn(engine->softwareFrame(), WIDTH).value_or(-1) : -1;
    }
    // The picture the position names: the one the track bar, the labels and the driving panel stand for.
    Picture atPosition() const
    {
        const auto &model = player()->valueInfo();
        const auto movieTime = model->movieTimeOfCurrentFrame();
        if (!movieTime)
            return {};
        return {model->currentIndex(), int(FrameSteps::pictureAt(*movieTime, FPS))};
    }
    // The picture on screen once it has stayed a while: a pause's last pictures have shown by then.
    Picture restingOnScreen() const
    {
        Picture shown;
        QElapsedTimer shownFor;
        EventLoop::waitUntil(
            [&] {
                const Picture now = onScreen();
                if (now != shown || now.frame < 0) {
                    shown = now;
                    shownFor.start();
                }
                return shown.frame >= 0 && shownFor.elapsed() >= AT_REST.count();
            },
            SETTLE_LIMIT);
        return shown;
    }
    // Frames from the expected picture to the one on screen once the picture has come to rest (±999: another
    // chapter's). A seek decodes from the key frame before its target, so the picture before it may still
    // show, or the target may have shown in passing: at rest it has shown a while.
    int framesOffAtRest(const Picture &expected)
    {
        QElapsedTimer shownFor;
        EventLoop::waitUntil(
            [&] {
                if (onScreen() != expected)
                    shownFor.invalidate();
                else if (!shownFor.isValid())
                    shownFor.start();
                return shownFor.isValid() && shownFor.elapsed() >= AT_REST.count();
            },
            SETTLE_LIMIT);
        const Picture shown = onScreen();
        if (shown.chapter != expected.chapter)
            return shown.chapter < expected.chapter ? -999 : 999;
        return shown.frame - expected.frame;
    }

    TempDir card;
};

struct Tally
{
    int rounds = 0;
    int off = 0;
    int worst = 0;
    void add(int frames)
    {
        ++rounds;
        off += frames != 0;
        worst = std::max(worst, std::abs(frames));
    }
};

// Plays for a while, pauses with the pause button, steps a frame forward and back, over several moments;
// then takes stills with the camera button while playing.
void restWherePositionIs(const char *load)
{
    TripOnScreen w;
    auto *engine = dynamic_cast<MpvEngine *>(w.player()->engine());
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(engine->isSoftwareRender()) << "a software OpenGL driver takes mpv's software renderer";
    QAbstractButton *play = w.button("play"), *pause = w.button("pause"), *forward = w.button("komaGo"),
                    *back = w.button("komaBack"), *snapshot = w.button("snapshot");
    ASSERT_TRUE(play && pause && forward && back && snapshot);

    Tally paused, stepped, backAgain, stills;
    // Pauses 0.3 to 1.2 s apart, at changing phases of the 1/30 s tick; the rounds cross a chapter border.
    const int playMs[] = {430, 310, 1170, 640, 870, 520, 1060, 390};
    for (int round = 0; round < int(std::size(playMs)); ++round) {
        play->click();
        EventLoop::runFor(std::chrono::milliseconds(playMs[round]));
        pause->click();
        // The picture on screen stays, with those the engine still had on their way; the position comes
        // to the one it rests on.
        const Picture pausedPicture = w.restingOnScreen();
        const Picture rest = w.atPosition();
        const int off = pausedPicture.chapter == rest.chapter ? pausedPicture.frame - rest.frame : 999;
        paused.add(off);
        EXPECT_EQ(off, 0) << load << " round " << round << ": paused at chapter " << rest.chapter << " frame "
                          << rest.frame << ", screen " << pausedPicture.frame;

        forward->click();
        EXPECT_EQ(w.atPosition(), rest.next()) << load << " round " << round;
        const int offNext = w.framesOffAtRest(rest.next());
        stepped.add(offNext);
        EXPECT_EQ(offNext, 0) << load << " round " << round << ": a frame on from " << rest.frame;

        back->click();
        EXPECT_EQ(w.atPosition(), rest) << load << " round " << round;
        const int offBack = w.framesOffAtRest(pausedPicture);
        backAgain.add(offBack);
        EXPECT_EQ(offBack, 0) << load << " round " << round << ": a frame back to the paused picture "
                              << pausedPicture.frame;
    }

    // The camera button pauses and opens the capture tool, whose modal run the watcher joins: the still it
    // would save is what the screen shows meanwhile. The tool is moved off the picture and closed as a user
    // would.
    std::optional<int> still;
    int offStill = 0;
    QTimer watcher;
    watcher.setInterval(50);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *tool = qobject_cast<ModalWindow *>(QApplication::activeModalWidget());
        auto *capture = tool ? tool->findChild<CaptureView *>() : nullptr;
        if (!capture || !capture->toolinfo)
            return;
        watcher.stop();
        tool->move(w.window->frameGeometry().right() + 1, 0);
        const auto request = StillCapture::makeRequest(*capture->toolinfo, {}, {}, {});
        const auto image = request ? StillCapture::makeStill(*request) : std::nullopt;
        still = image ? frameStampIn(*image, WIDTH) : std::nullopt;
        if (still)
            offStill = w.framesOffAtRest(Picture{w.chapterIndex(capture->toolinfo->chapter), *still});
        tool->abortModal();
    });
    for (int round = 0; round < 5; ++round) {
        play->click();
        EventLoop::runFor(std::chrono::milliseconds(350 + 130 * round));
        still.reset();
        watcher.start();
        snapshot->click();
        // The tool opens once the paused picture is at rest.
        EventLoop::waitUntil([&] { return still.has_value(); }, SETTLE_LIMIT);
        watcher.stop();
        ASSERT_TRUE(still.has_value()) << load << " still " << round;
        stills.add(offStill);
        EXPECT_EQ(offStill, 0) << load << " still " << round << ": frame " << *still
                               << " in the still, screen " << w.onScreen().frame << ", engine's last picture "
                               << w.drawn();
        EXPECT_EQ(w.atPosition().frame, *still) << load << " still " << round;
    }

    std::printf("[at rest] %s: pauses %d of %d off (worst %d frames), steps on %d of %d off (worst %d), "
                "steps back %d of %d off (worst %d), stills %d of %d off (worst %d)\n",
                load, paused.off, paused.rounds, paused.worst, stepped.off, stepped.rounds, stepped.worst,
                backAgain.off, backAgain.rounds, backAgain.worst, stills.off, stills.rounds, stills.worst);
}

bool onRealDisplay()
{
    return QApplication::platformName() == QLatin1String("xcb");
}

} // namespace

TEST(PictureAtRestTest, PausesStepsAndStillsShowThePositionsPicture)
{
    if (!onRealDisplay())
        GTEST_SKIP() << "reads the picture from an X screen";
    restWherePositionIs("idle");
}

TEST(PictureAtRestTest, PausesStepsAndStillsShowThePositionsPictureWithEveryCoreBusy)
{
    if (!onRealDisplay())
        GTEST_SKIP() << "reads the picture from an X screen";
    BusyCores busy;
    ASSERT_TRUE(busy.started());
    restWherePositionIs("every core busy");
}
