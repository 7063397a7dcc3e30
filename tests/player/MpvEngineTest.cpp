#include "player/MpvEngine.h"

#include "TestClips.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using testclips::waitUntil;

namespace {

class MpvEngineTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        clip = testclips::makeClip(dir->path(), "clip.mp4", 320, 180, 28, 3.0);
    }
    static void TearDownTestSuite() { dir.reset(); }

    void SetUp() override
    {
        ASSERT_FALSE(clip.isEmpty()) << "ffmpeg could not make the test clip";
        engine = std::make_unique<MpvEngine>(MpvEngine::RenderMode::Software);
        QObject::connect(engine.get(), &MediaEngine::frameShown, [this](double t) { shown.push_back(t); });
        QObject::connect(engine.get(), &MediaEngine::endOfItem, [this] { ++ends; });
    }

    bool loadClip()
    {
        engine->replaceItem(clip);
        return waitUntil([this] { return engine->status() != MediaEngine::Status::Unknown; });
    }

    static std::unique_ptr<TempDir> dir;
    static QString clip;
    std::unique_ptr<MpvEngine> engine;
    std::vector<double> shown;
    int ends = 0;
};

std::unique_ptr<TempDir> MpvEngineTest::dir;
QString MpvEngineTest::clip;

} // namespace

TEST_F(MpvEngineTest, LoadsAFileAndReportsItsRateAndDuration)
{
    EXPECT_TRUE(engine->isSoftwareRender());
    EXPECT_FALSE(engine->hasItem());
    EXPECT_EQ(engine->frameRate(), 0.0);
    ASSERT_TRUE(loadClip());
    EXPECT_EQ(engine->status(), MediaEngine::Status::ReadyToPlay);
    EXPECT_NEAR(engine->frameRate(), 28.0, 0.01);
    EXPECT_NEAR(engine->durationMs(), 3000, 40);
    EXPECT_EQ(engine->rate(), 0.0);
}

TEST_F(MpvEngineTest, PlayabilityCheckRefusesMissingAndNonMovieFiles)
{
    EXPECT_TRUE(engine->canPlay(clip));
    EXPECT_FALSE(engine->canPlay(dir->filePath("missing.mp4")));
    const QString text = dir->write("notes.mp4", QByteArray("this is not a movie\n").repeated(50));
    EXPECT_FALSE(engine->canPlay(text));
}

TEST_F(MpvEngineTest, AFileThatCannotBeOpenedFails)
{
    const QString broken = dir->write("broken.mp4", QByteArray(4096, '\x17'));
    engine->replaceItem(broken);
    ASSERT_TRUE(waitUntil([this] { return engine->status() != MediaEngine::Status::Unknown; }));
    EXPECT_EQ(engine->status(), MediaEngine::Status::Failed);
}

TEST_F(MpvEngineTest, ExactSeekShowsTheFrameAtTheTarget)
{
    ASSERT_TRUE(loadClip());
    for (qint64 target : {1500, 250, 2750, 0}) {
        shown.clear();
        engine->seekExact(target);
        ASSERT_TRUE(waitUntil([&] {
            return !shown.empty() && std::abs(shown.back() - target / 1000.0) < 1.0 / 28.0;
        })) << "target "
            << target << " last shown " << (shown.empty() ? -1.0 : shown.back());
        // The time reported is the frame's on screen, not the target asked for.
        EXPECT_EQ(engine->currentTime(), shown.back());
    }
    // Targets asked for at once make one seek, to the last: no picture of the others is shown.
    shown.clear();
    for (qint64 target : {500, 1000, 2000})
        engine->seekExact(target);
    ASSERT_TRUE(waitUntil([&] { return !shown.empty() && std::abs(shown.back() - 2.0) < 1.0 / 28.0; }));
    for (double t : shown)
        EXPECT_GT(t, 1.9);
    EXPECT_FALSE(engine->softwareFrame().isNull());
    EXPECT_EQ(engine->softwareFrame().size(), QSize(320, 180));
}

TEST_F(MpvEngineTest, SeekBeforeTheItemIsReadyIsAppliedOnLoad)
{
    engine->replaceItem(clip);
    engine->seekExact(2000);
    ASSERT_TRUE(waitUntil([this] { return !shown.empty() && std::abs(shown.back() - 2.0) < 1.0 / 28.0; }));
}

TEST_F(MpvEngineTest, PlaysToTheEndAndStaysOnTheLastFrame)
{
    ASSERT_TRUE(loadClip());
    engine->seekExact(2500);
    engine->setRate(2.0);
    EXPECT_EQ(engine->rate(), 2.0);
    ASSERT_TRUE(waitUntil([this] { return ends == 1; }, 10000));
    EXPECT_EQ(engine->rate(), 0.0);
    EXPECT_GT(engine->currentTime(), 2.9);
    // Seeking back after the end works on the same item.
    shown.clear();
    engine->seekExact(1000);
    ASSERT_TRUE(waitUntil([&] { return !shown.empty() && std::abs(shown.back() - 1.0) < 1.0 / 28.0; }));
}

TEST_F(MpvEngineTest, SoundAndBrightnessSettingsAreClamped)
{
    engine->setVolume(1.7);
    EXPECT_EQ(engine->volume(), 1.0);
    engine->setVolume(-2.0);
    EXPECT_EQ(engine->volume(), 0.0);
    engine->setMuted(true);
    EXPECT_TRUE(engine->isMuted());
    engine->setBrightness(-0.27);
    EXPECT_EQ(engine->mpvBrightness(), -27);
    engine->setBrightness(0.4);
    EXPECT_EQ(engine->mpvBrightness(), 40);
    engine->setBrightness(3.0);
    EXPECT_EQ(engine->mpvBrightness(), 100);
}

TEST_F(MpvEngineTest, BrightnessBrightensTheSoftwarePicture)
{
    auto meanGrey = [](const QImage &image) {
        double sum = 0.0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                sum += qGray(image.pixel(x, y));
        return sum / ((image.height() / 4) * (image.width() / 4));
    };
    auto frameAt = [&](double seconds) { return !shown.empty() && std::abs(shown.back() - seconds) < 0.04; };
    ASSERT_TRUE(loadClip());
    engine->seekExact(500);
    // Before the first decoded frame mpv may draw a black picture that already carries the seek's
    // time: wait for the movie's own picture.
    ASSERT_TRUE(waitUntil([&] { return frameAt(0.5) && meanGrey(engine->softwareFrame()) > 60; }))
        << "shown " << meanGrey(engine->softwareFrame());
    const double plain = meanGrey(engine->softwareFrame());
    // A new setting rebuilds mpv's filter chain on its own thread and the paused picture is drawn
    // again once that is done: wait for the picture, however long a loaded machine takes.
    engine->setBrightness(0.4);
    shown.clear();
    engine->seekExact(1000);
    EXPECT_TRUE(waitUntil([&] { return frameAt(1.0) && meanGrey(engine->softwareFrame()) > plain + 40; }))
        << "plain " << plain << " shown " << meanGrey(engine->softwareFrame());
    engine->setBrightness(0.0);
    shown.clear();
    engine->seekExact(500);
    EXPECT_TRUE(waitUntil([&] {
        return frameAt(0.5) && std::abs(meanGrey(engine->softwareFrame()) - plain) <= 3.0;
    })) << "plain "
        << plain << " shown " << meanGrey(engine->softwareFrame());
}

TEST_F(MpvEngineTest, RemovingTheItemAndReplacingItAgain)
{
    ASSERT_TRUE(loadClip());
    engine->removeItem();
    EXPECT_FALSE(engine->hasItem());
    EXPECT_EQ(engine->durationMs(), 0);
    ASSERT_TRUE(loadClip());
    EXPECT_EQ(engine->status(), MediaEngine::Status::ReadyToPlay);
}

TEST_F(MpvEngineTest, VideoWidgetOutlivingTheEngineIsHarmless)
{
    auto parent = std::make_unique<QWidget>();
    QWidget *video = engine->createVideoWidget(parent.get());
    ASSERT_NE(video, nullptr);
    ASSERT_TRUE(loadClip());
    engine->seekExact(500);
    waitUntil([this] { return !shown.empty(); });
    engine.reset();
    video->resize(160, 90);
    video->grab();
}
