#include "player/MpvEngine.h"

#include "TestClips.h"
#include "support/FrameStamp.h"
#include "support/TempDir.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include <signal.h>

using EventLoop::waitUntil;

namespace {

class MpvEngineTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        clip = testclips::makeClip(dir->path(), "clip.mp4", 320, 180, 28, 3.0);
        stamped = testclips::makeClip(dir->path(), "stamped.mp4", 320, 180, 28, 3.0, "testsrc2", true);
    }
    static void TearDownTestSuite() { dir.reset(); }

    void SetUp() override
    {
        ASSERT_FALSE(clip.isEmpty() || stamped.isEmpty()) << "ffmpeg could not make the test clips";
        engine = std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software);
        QObject::connect(engine.get(), &MediaEngine::frameShown, [this](double t) { shown.push_back(t); });
        QObject::connect(engine.get(), &MediaEngine::endOfItem, [this] { ++ends; });
    }

    bool load(const QString &path)
    {
        engine->replaceItem(path);
        return waitUntil([this] { return engine->status() != MediaEngine::Status::Unknown; });
    }
    // Waits for a picture of the frame at the given time (within a frame of the 28 fps clip).
    bool shows(double seconds)
    {
        return waitUntil([&] { return !shown.empty() && std::abs(shown.back() - seconds) < 1.0 / 28.0; });
    }

    static inline std::unique_ptr<TempDir> dir;
    static inline QString clip;
    // The same, each picture stamped with its number (frameStampIn).
    static inline QString stamped;
    std::unique_ptr<MpvEngine> engine;
    std::vector<double> shown;
    int ends = 0;
};

} // namespace

TEST_F(MpvEngineTest, LoadsRemovesAndReloadsAFileAndReportsItsRateAndDuration)
{
    EXPECT_TRUE(engine->isSoftwareRender());
    EXPECT_EQ(engine->frameRate(), 0.0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(load(clip));
        EXPECT_EQ(engine->status(), MediaEngine::Status::ReadyToPlay);
        EXPECT_NEAR(engine->frameRate(), 28.0, 0.01);
        EXPECT_NEAR(engine->durationMs(), 3000, 40);
        EXPECT_EQ(engine->rate(), 0.0);
        engine->removeItem();
        EXPECT_FALSE(engine->hasItem());
        EXPECT_EQ(engine->durationMs(), 0);
    }
}

TEST_F(MpvEngineTest, MissingAndNonMovieFilesAreRefusedAndABrokenOneFails)
{
    EXPECT_TRUE(engine->canPlay(clip));
    EXPECT_FALSE(engine->canPlay(dir->filePath("missing.mp4")));
    EXPECT_FALSE(engine->canPlay(dir->write("notes.mp4", QByteArray("this is not a movie\n").repeated(50))));
    ASSERT_TRUE(load(dir->write("broken.mp4", QByteArray(4096, '\x17'))));
    EXPECT_EQ(engine->status(), MediaEngine::Status::Failed);
}

TEST_F(MpvEngineTest, ExactSeekShowsTheFrameAtTheTarget)
{
    // A seek asked for before the item is ready is applied on load: no other picture shows before it.
    engine->replaceItem(clip);
    engine->seekExact(2000);
    ASSERT_TRUE(shows(2.0));
    EXPECT_NEAR(shown.front(), 2.0, 1.0 / 28.0) << "the file's first picture showed while it sought";
    for (qint64 target : {1500, 250, 2750, 0}) {
        shown.clear();
        engine->seekExact(target);
        ASSERT_TRUE(shows(target / 1000.0))
            << target << " last shown " << (shown.empty() ? -1.0 : shown.back());
        // The time reported is the frame's on screen, not the target asked for.
        EXPECT_EQ(engine->currentTime(), shown.back());
    }
    // Targets asked for at once make one seek, to the last: no picture of the others is shown.
    shown.clear();
    for (qint64 target : {500, 1000, 2000})
        engine->seekExact(target);
    ASSERT_TRUE(shows(2.0));
    for (double t : shown)
        EXPECT_GT(t, 1.9);
    // The picture is drawn at the size the video widget asks for, again at once when it changes.
    engine->setSoftwareSize(QSize(320, 180));
    EXPECT_TRUE(waitUntil([&] { return engine->softwareFrame().size() == QSize(320, 180); }));

    // Removed and loaded again at once: the core's stop, on its way meanwhile, does not end the new load.
    shown.clear();
    engine->removeItem();
    engine->replaceItem(clip);
    engine->seekExact(1000);
    ASSERT_TRUE(shows(1.0));
    EXPECT_EQ(engine->status(), MediaEngine::Status::ReadyToPlay);
    EXPECT_NEAR(shown.front(), 1.0, 1.0 / 28.0);
}

TEST_F(MpvEngineTest, ABrightnessChangeDrawsThePausedPictureAgainAndNoOther)
{
    ASSERT_TRUE(load(clip));
    engine->setSoftwareSize(QSize(320, 180));
    engine->seekExact(1500);
    ASSERT_TRUE(shows(1.5));
    testclips::spin(300);
    const QImage before = engine->softwareFrame();
    const double time = engine->currentTime();
    ASSERT_EQ(before.size(), QSize(320, 180));
    // A drag of the slider: many changes in a row, ending lighter.
    for (double brightness = 0.0; brightness <= 0.3001; brightness += 0.02)
        engine->setBrightness(brightness);
    ASSERT_TRUE(waitUntil([&] { return engine->softwareFrame() != before; }));
    testclips::spin(1000);
    const QImage after = engine->softwareFrame();
    EXPECT_EQ(engine->currentTime(), time);
    EXPECT_EQ(engine->rate(), 0.0);
    // The same picture, each colour raised by the offset (30 % of full scale) up to white.
    int off = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QRgb was = before.pixel(x, y), is = after.pixel(x, y);
            for (const int shift : {16, 8, 0}) {
                const int wasLevel = int(was >> shift) & 0xff, isLevel = int(is >> shift) & 0xff;
                off += std::abs(isLevel - std::min(wasLevel + 77, 255)) > 1;
            }
        }
    }
    EXPECT_EQ(off, 0) << "colour values not the paused picture's raised by the offset";
}

TEST_F(MpvEngineTest, PlaysToTheEndAndStaysOnTheLastFrame)
{
    // On a busy machine the core reaches the file's end while its last pictures are still on their way to
    // the screen: the item ends once the last of them shows, and its time names it. Each speed plays again
    // from a seek asked for with the play, right after the end before it.
    constexpr int LAST_PICTURE = 3 * 28 - 1;
    const auto stampShown = [this] { return frameStampIn(engine->softwareFrame(), 320).value_or(-1); };
    ASSERT_TRUE(load(stamped));
    for (const double rate : {2.0, 1.0, 4.0}) {
        engine->seekExact(2500);
        engine->setRate(rate);
        EXPECT_EQ(engine->rate(), rate);
        const int ended = ends;
        ASSERT_TRUE(waitUntil([&] { return ends > ended; })) << "x" << rate;
        EXPECT_EQ(engine->rate(), 0.0);
        EXPECT_EQ(stampShown(), LAST_PICTURE) << "x" << rate;
        EXPECT_EQ(std::lround(engine->currentTime() * 28), LAST_PICTURE) << "x" << rate;
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back(), engine->currentTime()) << "x" << rate;
        // It stays there.
        testclips::spin(300);
        EXPECT_EQ(stampShown(), LAST_PICTURE) << "x" << rate;
        EXPECT_EQ(std::lround(shown.back() * 28), LAST_PICTURE) << "x" << rate;
        EXPECT_EQ(ends, ended + 1) << "x" << rate;
    }
    // Seeking back after the end works on the same item.
    shown.clear();
    engine->seekExact(1000);
    ASSERT_TRUE(shows(1.0));
    EXPECT_TRUE(waitUntil([&] { return stampShown() == 28; })) << stampShown();
}

// Paused from play, the core still shows the pictures it had queued: the engine counts them at the rate
// played and says when the one the core rests on is on screen, which its time then names; nothing steps back.
TEST_F(MpvEngineTest, APauseFromPlayRestsOnTheCoresPictureAndNamesIt)
{
    const auto stampShown = [this] { return frameStampIn(engine->softwareFrame(), 320).value_or(-1); };
    ASSERT_TRUE(load(stamped));
    int settled = 0;
    QObject::connect(engine.get(), &MediaEngine::pauseSettled, [&] { ++settled; });
    // Every picture handed to the widget, in order.
    std::vector<int> pictures;
    QObject::connect(engine.get(), &MpvEngine::softwareFrameChanged, [&] {
        if (const int stamp = stampShown(); stamp >= 0 && (pictures.empty() || pictures.back() != stamp))
            pictures.push_back(stamp);
    });
    engine->seekExact(200);
    ASSERT_TRUE(shows(0.2));
    for (const auto &[rate, playMs] : {std::pair{1.0, 310}, {2.0, 270}, {1.0, 430}, {2.0, 180}}) {
        engine->setRate(rate);
        testclips::spin(playMs);
        const int before = pictures.back();
        const size_t from = pictures.size();
        const int wasSettled = settled;
        engine->pause();
        EXPECT_TRUE(engine->isSettlingPause()) << "x" << rate;
        ASSERT_TRUE(waitUntil([&] { return settled > wasSettled; })) << "x" << rate;
        EXPECT_FALSE(engine->isSettlingPause());
        // The time names the picture the core rests on, which shows by now or in a moment: the count of
        // pictures on their way may be a picture ahead.
        const int rest = int(std::lround(engine->currentTime() * 28));
        EXPECT_EQ(shown.back(), engine->currentTime()) << "x" << rate;
        EXPECT_TRUE(waitUntil([&] { return stampShown() == rest; }, std::chrono::seconds(2)))
            << "x" << rate << ": rests on " << stampShown() << ", its time names " << rest;
        for (size_t i = from; i < pictures.size(); ++i)
            EXPECT_GE(pictures[i], before) << "x" << rate << " after " << playMs << " ms";
        testclips::spin(300);
        EXPECT_EQ(stampShown(), rest) << "x" << rate << ": it stays";
        EXPECT_EQ(std::lround(engine->currentTime() * 28), rest) << "x" << rate;
        EXPECT_EQ(settled, wasSettled + 1);
    }
    // A seek ends the wait at once.
    engine->setRate(1.0);
    testclips::spin(200);
    const int wasSettled = settled;
    engine->pause();
    engine->seekExact(1000);
    EXPECT_EQ(settled, wasSettled + 1);
    EXPECT_FALSE(engine->isSettlingPause());
    EXPECT_TRUE(waitUntil([&] { return stampShown() == 28; })) << stampShown();
}

TEST_F(MpvEngineTest, SoundAndBrightnessSettingsAreClamped)
{
    for (const auto &[asked, kept] : {std::pair{1.7, 1.0}, {-2.0, 0.0}}) {
        engine->setVolume(asked);
        EXPECT_EQ(engine->volume(), kept);
    }
    engine->setMuted(true);
    EXPECT_TRUE(engine->isMuted());
    for (const auto &[asked, kept] : {std::pair{-0.27, -27}, {0.4, 40}, {3.0, 100}}) {
        engine->setBrightness(asked);
        EXPECT_EQ(engine->mpvBrightness(), kept);
    }
}

TEST_F(MpvEngineTest, BrightnessBrightensTheSoftwarePicture)
{
    const auto meanGrey = [this] {
        const QImage &image = engine->softwareFrame();
        double sum = 0.0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                sum += qGray(image.pixel(x, y));
        return sum / ((image.height() / 4) * (image.width() / 4));
    };
    // A new setting rebuilds mpv's filter chain on its own thread, and before the first decoded frame
    // mpv may draw a black picture that already carries the seek's time: seek and wait for the picture.
    const auto seekUntil = [&](qint64 ms, const std::function<bool(double)> &grey) {
        shown.clear();
        engine->seekExact(ms);
        return waitUntil([&] {
            return !shown.empty() && std::abs(shown.back() - ms / 1000.0) < 0.04 && grey(meanGrey());
        });
    };
    ASSERT_TRUE(load(clip));
    ASSERT_TRUE(seekUntil(500, [](double g) { return g > 60; })) << meanGrey();
    const double plain = meanGrey();
    engine->setBrightness(0.4);
    EXPECT_TRUE(seekUntil(1000, [&](double g) { return g > plain + 40; })) << plain << " " << meanGrey();
    engine->setBrightness(0.0);
    EXPECT_TRUE(seekUntil(500, [&](double g) { return std::abs(g - plain) <= 3.0; }))
        << plain << " " << meanGrey();
}

TEST_F(MpvEngineTest, VideoWidgetOutlivingTheEngineIsHarmless)
{
    auto parent = std::make_unique<QWidget>();
    QWidget *video = engine->createVideoWidget(parent.get());
    ASSERT_NE(video, nullptr);
    ASSERT_TRUE(load(clip));
    engine->seekExact(500);
    waitUntil([this] { return !shown.empty(); });
    engine.reset();
    video->resize(160, 90);
    video->grab();
}

// Where no sound server answers, libmpv tries SDL for the sound, and SDL takes SIGTERM for a quit event of
// its own that nothing here reads: a SIGTERM in that moment (a session ending, kill) would not end the
// program. The disposition is watched from another thread while fresh cores open a movie with sound.
TEST_F(MpvEngineTest, OpeningSoundLeavesSigtermToTheSystem)
{
    const QString withSound = QDir(dir->path()).filePath("sound.mp4");
    ASSERT_TRUE(Ffmpeg::run({"-f", "lavfi", "-i", "testsrc2=size=160x90:rate=28:duration=2", "-f", "lavfi",
                             "-i", "sine=frequency=440:duration=2", "-c:v", "libx264", "-preset", "ultrafast",
                             "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", withSound}));
    struct sigaction before
    {
    };
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &before), 0);
    ASSERT_EQ(before.sa_handler, SIG_DFL);
    std::atomic<bool> stop = false, taken = false;
    std::thread watcher([&] {
        while (!stop) {
            struct sigaction now
            {
            };
            if (sigaction(SIGTERM, nullptr, &now) == 0 && now.sa_handler != SIG_DFL)
                taken = true;
        }
    });
    // Each core looks for a sound output of its own.
    for (int i = 0; i < 3; ++i) {
        MpvEngine fresh(MpvEngine::RenderMode::Software);
        fresh.replaceItem(withSound);
        EXPECT_TRUE(waitUntil([&] { return fresh.status() != MediaEngine::Status::Unknown; }));
        fresh.setRate(1.0);
        testclips::spin(500);
    }
    stop = true;
    watcher.join();
    EXPECT_FALSE(taken);
}
