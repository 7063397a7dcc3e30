// The player panel on fake engines over a generated trip of three 2 s chapters; the test drives the
// clock's time and sees what the panel asks of its main window.
#pragma once

#include "player/CustomSliderCell.h"
#include "player/MoviePlayerView.h"
#include "player/MoviePlayerViewDelegate.h"
#include "player/PlayMovieValueInfo.h"

#include "card/PictureDataUtil.h"

#include "FakeMediaEngine.h"
#include "TripFixture.h"

#include <gtest/gtest.h>

#include <functional>

class RecordingDelegate : public QObject, public MoviePlayerViewDelegate
{
public:
    // Hooks run inside the panel's calls, for re-entry checks.
    void updateFrameWithStopWatch() override { onFrame ? onFrame() : void(); }
    bool syncChapterSelection() override
    {
        ++syncs;
        onSync ? onSync() : void();
        return true;
    }
    void updateFrameDisplay(bool playing) override { displays.push_back(playing); }
    void showFileNotFound() override { ++notFound; }
    void showLoadFailed() override { ++loadFailed; }
    void moviePlayerNotify(int code) override { codes.push_back(code); }

    int syncs = 0, notFound = 0, loadFailed = 0;
    std::vector<bool> displays;
    std::vector<int> codes;
    std::function<void()> onFrame, onSync;
};

class PanelFixture : public ::testing::Test
{
protected:
    static constexpr int64_t MS = 1000000; // ns

    static void SetUpTestSuite() { trip = std::make_unique<TripFixture>(std::vector<int>{2000, 2000, 2000}); }
    static void TearDownTestSuite() { trip.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(trip->ok()) << qPrintable(trip->error);
        panel = std::make_unique<MoviePlayerView>(
            [this] {
                auto engine = std::make_unique<FakeMediaEngine>();
                engines.push_back(engine.get());
                return engine;
            },
            [this] { return now; });
        panel->setDelegate(&delegate);
    }

    FakeMediaEngine *engine() const { return static_cast<FakeMediaEngine *>(panel->engine()); }
    CustomSliderCell *cell() const { return panel->trackCell(); }
    std::shared_ptr<PlayMovieValueInfo> model() const { return panel->valueInfo(); }
    bool clockRuns() const { return panel->clock()->isRunning(); }
    static std::shared_ptr<PlayMovieValueInfo> tripModel(const ChapterList &chapters)
    {
        return std::make_shared<PlayMovieValueInfo>(chapters, CardData::ActiveType::MovieRec);
    }
    static int64_t start(int64_t index) { return PictureDataUtil::getPosition(trip->chapters, index, 0); }
    static QString file(int index) { return trip->chapters[index]->_pathMp4.toLocalFile(); }

    // Loads the chapters (the trip's by default) and lets the first item become ready.
    void load(bool play, const ChapterList &chapters = trip->chapters)
    {
        panel->setValueInfo(tripModel(chapters));
        panel->setAutoPlay(play);
        panel->preparePlayer();
        engine()->becomeReady();
    }
    // One clock tick after the given time.
    void tick(int64_t ms, int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            now += ms * MS;
            cell()->onValueChanged();
        }
    }

    static inline std::unique_ptr<TripFixture> trip;
    int64_t now = 5000 * MS;
    RecordingDelegate delegate;
    std::vector<FakeMediaEngine *> engines;
    std::unique_ptr<MoviePlayerView> panel;
};
