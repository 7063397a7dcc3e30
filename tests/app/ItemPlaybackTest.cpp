#include "app/ItemPlayback.h"
#include "app/FrameDisplay.h"
#include "app/ListMarkers.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/EventClip.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "card/VrecMoveManagerInfo.h"
#include "graph/DrivingInfoView.h"
#include "map/KmlUtil.h"
#include "map/MapPoint.h"
#include "map/WebMapView.h"
#include "player/CustomSliderCell.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "player/PlayerControls.h"
#include "recording/FrameTable.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include "../map/FakeScriptSink.h"
#include "../player/FakeMediaEngine.h"
#include "AppFakes.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <thread>

namespace {
using LT = CommonConst::ListType;

class ItemPlaybackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        card->loadCardFolder(writtenSampleCard());
        list.setListData(*card);
        map.setReachabilityCheck([this](std::function<void(bool)> done) { done(reachable); });
        map.setVersionNoteFolder({});
        player.setAutoPlay(true);
        ItemPlayback::Hooks hooks;
        hooks.confirmStopWatchReset = [this] { return keepResults; };
        hooks.showFileNotFound = [this] { calls << "not found"; };
        hooks.warn = [this](const QString &text) { calls << "warn " + text; };
        hooks.updateWindowTitle = [this] { ++titles; };
        hooks.loading = [this]() -> bool & { return loading; };
        hooks.neighbours = [this](bool previous, bool next) { neighbours = {previous, next}; };
        hooks.stopMeasurement = [this] { calls << "stop measurement"; };
        hooks.leaveTrimMode = [this] { ++trims; };
        playback = std::make_unique<ItemPlayback>(
            ItemPlayback::Parts{player, list, map, [this] { return card; }, [this] { return &panel; },
                                [] { return nullptr; }},
            hooks);
        markers = std::make_unique<ListMarkers>(
            ListMarkers::Parts{map, *list.model(), [this] { return card; }, settings},
            ListMarkers::Hooks{
                [this](std::function<void()> task) { posted.push_back(std::move(task)); },
                [this]() -> bool & { return centred; },
                [this](LT type, int row, bool s) { return list.selectRow(row, type, s); },
                [this](LT t, int row, int c, bool s) { playback->selectListItem(t, row, c, s); },
                [this](int i, bool s) { return playback->playEventItem(i, s); },
                [this](int i, bool s) { return playback->playSurveillanceItem(i, s); }});
    }
    void TearDown() override { card->dispose(); }

    void loadPage()
    {
        sink.finishLoad();
        sink.take();
    }
    int currentRow(LT type) const { return list.model()->currentRow(type); }
    int chapters() const { return player.valueInfo()->chapterCount(); }
    QStringList scriptsNamed(const QString &prefix) const
    {
        return sink.scripts.filter(QRegularExpression("^" + prefix));
    }
    void runPosted()
    {
        for (auto &task : std::exchange(posted, {}))
            task();
    }

    TempDir dir;
    UserDefaultUtil settings{dir.filePath("s.conf")};
    std::shared_ptr<CardData> card = std::make_shared<CardData>();
    VideoListView list;
    FakeScriptSink sink;
    WebMapView map{&sink, {}};
    MoviePlayerView player{[] { return std::make_unique<FakeMediaEngine>(); }};
    // The engine on screen (a second one waits for the next chapter).
    FakeMediaEngine *engine() const { return static_cast<FakeMediaEngine *>(player.engine()); }
    DrivingInfoView panel;
    std::unique_ptr<ItemPlayback> playback;
    std::unique_ptr<ListMarkers> markers;
    std::vector<std::function<void()>> posted;
    QStringList calls;
    std::pair<bool, bool> neighbours;
    int titles = 0;
    int trims = 0;
    bool loading = false;
    bool keepResults = true;
    bool reachable = false;
    bool centred = false;
};

VideoFrame frame(int32_t lat, int32_t lng, IconId direction, bool gps)
{
    VideoFrame f;
    f._latitude = lat;
    f._longitude = lng;
    f.ex.direction = direction;
    f.gps = gps;
    return f;
}

FrameTable tableOf(const std::vector<std::pair<int, VideoFrame>> &frames)
{
    auto pool = std::make_shared<FramePool>();
    std::vector<std::pair<int, uint32_t>> pairs;
    for (const auto &[key, f] : frames)
        pairs.emplace_back(key, pool->add(f));
    return FrameTable(pool, std::make_shared<CameraKeys>(CameraKeys::fromPairs(std::move(pairs))));
}

std::shared_ptr<ChapterData> recordChapter(int32_t lat, int32_t lng)
{
    auto chapter = std::make_shared<ChapterData>(QUrl(), nullptr, ChapterData::Records{});
    chapter->_vmmInfo = std::make_shared<VrecMoveManagerInfo>(std::span<const uint8_t>());
    chapter->_vmmInfo->_latitude = lat;
    chapter->_vmmInfo->_longitude = lng;
    return chapter;
}
} // namespace

TEST_F(ItemPlaybackTest, GuardsRefuseAReentryAndRowsOutOfRangeWithoutTouchingAnything)
{
    const std::function<bool(int)> plays[] = {
        [&](int i) { return playback->playTripItem(i, 0, false, true); },
        [&](int i) { return playback->playAdventureItem(i, 0, false); },
        [&](int i) { return playback->playEventItem(i, false); },
        [&](int i) { return playback->playSurveillanceItem(i, false); },
    };
    for (size_t k = 0; k < std::size(plays); ++k) {
        // While another item loads (the adventure's too, whatever its current row is).
        list.model()->isSelectRowChanging = true;
        EXPECT_FALSE(plays[k](0)) << k;
        list.model()->isSelectRowChanging = false;
        EXPECT_FALSE(plays[k](-1) || plays[k](1000)) << k;
        EXPECT_TRUE(sink.scripts.isEmpty()) << k;
        EXPECT_EQ(chapters(), 0) << k;
    }
    // Stopwatch results kept: nothing is loaded and the guard is down again.
    keepResults = false;
    EXPECT_FALSE(plays[0](0));
    EXPECT_FALSE(list.model()->isSelectRowChanging);
    EXPECT_EQ(chapters(), 0);
}

TEST_F(ItemPlaybackTest, ATripLoadsAtItsChapterAChapterRowSeeksKeepingTheStatusAndNeighboursStopAtTheEnds)
{
    const auto &trips = list.model()->tripData();
    const auto chapters = trips[1]->sortedChapters();
    ASSERT_EQ(chapters.size(), 2u);
    loadPage();
    ASSERT_TRUE(playback->playTripItem(1, 1, false, true));
    const auto item = player.valueInfo();
    EXPECT_EQ(item->chapterDataList(), chapters);
    EXPECT_EQ(item->currentValue(), PictureDataUtil::getPosition(chapters, 1, 0));
    EXPECT_EQ(std::pair(currentRow(LT::Trip), currentRow(LT::TripChapter)), std::pair(1, 1));
    EXPECT_EQ(card->_activeType, CardData::ActiveType::MovieRec);
    EXPECT_EQ(neighbours, std::make_pair(true, static_cast<int>(trips.size()) > 2));
    EXPECT_EQ(sink.scripts.mid(0, 2), (QStringList{"removePolyLine()", "removeMyCar()"}));
    EXPECT_FALSE(playback->frames().currentMp4Path()) << "the meter's table is rebuilt for the new item";
    EXPECT_TRUE(calls.isEmpty());

    engine()->becomeReady();
    player.playMovie();
    EXPECT_TRUE(playback->listRowSelected(LT::TripChapter, 0));
    EXPECT_EQ(player.valueInfo(), item) << "same item, no reload";
    EXPECT_EQ(item->currentValue(), PictureDataUtil::getPosition(chapters, 0, 0));
    EXPECT_EQ(player.currentStatus(), CommonConst::PlayStatus::Play);
    EXPECT_EQ(currentRow(LT::TripChapter), 0);
    EXPECT_FALSE(playback->listRowSelected(LT::TripChapter, 2));
    // Previous and next across the trips stop at the ends.
    const int count = static_cast<int>(trips.size());
    ASSERT_TRUE(playback->playTripItem(0, 0, false, true));
    std::vector<std::pair<int, int>> steps{{3, 0}, {4, 1}, {3, 0}}; // code (3 previous, 4 next), row
    for (int i = 1; i <= count; ++i)
        steps.emplace_back(4, std::min(i, count - 1));
    for (const auto &[code, row] : steps) {
        const int before = titles;
        playback->moviePlayerNotify(code);
        EXPECT_EQ(currentRow(LT::Trip), row) << code;
        EXPECT_EQ(titles, before + 1) << "the title is refreshed also when nothing plays";
        EXPECT_FALSE(loading);
    }
}

// The trip whose route the page shows, played again, keeps it: none of its points go out again. Another
// trip's replaces it, and a trip that fails to play takes it off.
TEST_F(ItemPlaybackTest, ATripPlayedAgainKeepsTheRouteThePageShows)
{
    loadPage();
    const auto &trips = list.model()->tripData();
    for (const size_t trip : {0u, 1u}) {
        for (const auto &chapter : trips[trip]->sortedChapters())
            ASSERT_TRUE(chapter->getPicture(true)); // as the card's workers read them
    }
    const auto routeSent = [&] { return !scriptsNamed("addPackedPolyPoints").isEmpty(); };
    const auto removed = [&] { return sink.scripts.contains("removePolyLine()"); };
    ASSERT_TRUE(playback->playTripItem(1, 0, false, true));
    EXPECT_TRUE(routeSent());
    const std::vector<RoutePoint> shown = map.polyList();
    ASSERT_FALSE(shown.empty());
    sink.take();

    ASSERT_TRUE(playback->playTripItem(1, 1, false, true));
    EXPECT_FALSE(routeSent());
    EXPECT_FALSE(removed());
    EXPECT_EQ(map.polyList().size(), shown.size());
    sink.take();

    ASSERT_TRUE(playback->playTripItem(0, 0, false, true));
    EXPECT_TRUE(removed());
    EXPECT_TRUE(routeSent());
    sink.take();

    const QString movie = trips[0]->sortedChapters().front()->_pathMp4.toLocalFile();
    ASSERT_TRUE(QFile::rename(movie, movie + ".away"));
    EXPECT_FALSE(playback->playTripItem(0, 0, false, true));
    ASSERT_TRUE(QFile::rename(movie + ".away", movie));
    EXPECT_TRUE(removed()) << "a trip that could not play shows no route";
    EXPECT_TRUE(map.polyList().empty());
}

TEST_F(ItemPlaybackTest, AnEventDrawsOnlyItsWindowsRouteAndFollowsTheClock)
{
    loadPage();
    ASSERT_TRUE(playback->playEventItem(0, false));
    EXPECT_EQ(player.valueInfo()->playType(), CommonConst::PlayType::Event);
    EXPECT_EQ(card->_activeType, CardData::ActiveType::EventRec);
    EXPECT_FALSE(neighbours.first);
    EXPECT_FALSE(scriptsNamed("addPackedPolyPoints").isEmpty());
    // A window without positions: no point, but the route is still drawn (empty).
    const EventClip clip = card->getEventChapters(*list.model()->eventList()[0]);
    for (const auto &chapter : *clip.chapters) {
        const auto video = chapter->getPicture(true)->video;
        for (const int camera : video->cameraNumbers())
            video->editFrames(camera, [](std::span<const int32_t>, std::vector<VideoFrame> &frames) {
                for (VideoFrame &frame : frames)
                    frame._latitude = frame._longitude = 0;
            });
    }
    sink.take();
    ASSERT_TRUE(playback->playEventItem(0, false));
    EXPECT_TRUE(scriptsNamed("addPackedPolyPoints").isEmpty());
    EXPECT_EQ(sink.scripts.last(), "drawPolyline()");

    // Ticks: the car is drawn once per change, the meter's table built once per chapter.
    engine()->becomeReady();
    player.playMovie();
    sink.take();
    for (int i = 0; i < 5; ++i)
        playback->updateFrameWithStopWatch();
    EXPECT_EQ(scriptsNamed("drawMyCar").size(), 1);
    EXPECT_EQ(playback->frames().speedRunTableBuilds(), 1);
    EXPECT_TRUE(playback->frames().currentMp4Path());
}

TEST_F(ItemPlaybackTest, TheListTheDateAtTheEventAndTheChartsEventLabelNameTheSameSecond)
{
    // The sample's shock lies 1500 ms and its switch 1000 ms into their events' second chapters, each on a
    // record of its own; a whole second is where a millisecond early names the second before.
    list.model()->setDateStyle(VideoListModel::DateStyle::from(settings));
    list.model()->setListType(LT::Event);
    const QRegularExpression clock("\\d\\d:\\d\\d:\\d\\d");
    const auto secondIn = [&](const QString &text) { return clock.match(text).captured().toStdString(); };
    for (const int row : {0, 1}) {
        SCOPED_TRACE(row);
        ASSERT_TRUE(playback->playEventItem(row, false));
        engine()->becomeReady();
        ASSERT_GE(player.eventFrame(), 0);
        player.moveToPosition(player.eventFrame(), CommonConst::PlayStatus::Pause);
        player.updateDatetimeLabel();
        const QString listed =
            list.model()->data(list.model()->index(row, 0), VideoListModel::TimeRole).toString();
        EXPECT_EQ(player.controls()->diffSecLabel()->text(), "\u00b100.0");
        EXPECT_EQ(secondIn(listed), secondIn(player.controls()->datetimeLabel()->text()))
            << listed.toStdString() << " / " << player.controls()->datetimeLabel()->text().toStdString();
        EXPECT_EQ(secondIn(listed), secondIn(panel.model().chart().accidentValue.text))
            << listed.toStdString() << " / " << panel.model().chart().accidentValue.text.toStdString();
        EXPECT_FALSE(secondIn(listed).empty());
    }
}

TEST_F(ItemPlaybackTest, PlayerEventCodes)
{
    ASSERT_TRUE(playback->playTripItem(0, 0, false, true));
    EXPECT_EQ(std::exchange(trims, 0), 1) << "playing an item leaves trim mode";
    engine()->becomeReady();
    // Code, title refreshes (sync and item changes), car drawn again after it was cleared, hook reached.
    const std::tuple<int, int, bool, QStringList> cases[] = {{1, 1, true, {}},
                                                             {2, 1, true, {}},
                                                             {5, 0, false, {}},
                                                             {6, 0, true, {}},
                                                             {0, 0, true, {}},
                                                             {8, 0, true, {}},
                                                             {7, 0, false, {"stop measurement"}}};
    for (const auto &[code, titleCount, car, hooks] : cases) {
        map.currentPoint().clear();
        sink.take();
        calls.clear();
        titles = 0;
        playback->moviePlayerNotify(code);
        EXPECT_EQ(titles, titleCount) << code;
        EXPECT_EQ(!scriptsNamed("drawMyCar").isEmpty(), car) << code;
        EXPECT_EQ(calls, hooks) << code;
    }
    // Stop with a trim selection also leaves trim mode.
    EXPECT_EQ(trims, 0);
    player.trackCell()->setSelectFrame(true);
    playback->moviePlayerNotify(7);
    EXPECT_EQ(trims, 1);
}

TEST_F(ItemPlaybackTest, MarkersAreKeyedPerItemCentredOncePerCardOnlineAndOfflineAndAClickPlaysItsRecording)
{
    for (const bool online : {false, true}) {
        reachable = online;
        loadPage();
        map.markerList().clear();
        centred = false;
        // An event without a position gets no marker of its own.
        list.model()->eventList()[0]->_latitude = list.model()->eventList()[0]->_longitude = 0;
        markers->setEventMapMarkers();
        markers->setSurveillanceMapMarkers();
        markers->setTripMapMarkers();
        QStringList keys;
        for (const auto &[key, point] : map.markerList())
            keys << key;
        EXPECT_FALSE(keys.contains("E0")) << online;
        EXPECT_TRUE(keys.contains("C0_0")) << online;
        EXPECT_EQ(keys.filter(QRegularExpression("^(E[1-9]\\d*|S\\d+|C\\d+_\\d+)$")), keys) << online;
        // Each builder draws the whole list so far, all its markers in one call.
        const QStringList calls = scriptsNamed("addMarkers\\(");
        EXPECT_EQ(calls.size(), 3) << online;
        QSet<QString> drawn;
        for (const QString &call : calls) {
            const QJsonArray sent = QJsonDocument::fromJson(call.mid(11, call.size() - 12).toUtf8()).array();
            for (const QJsonValue &marker : sent)
                drawn.insert(marker.toArray().at(0).toString());
        }
        EXPECT_EQ(drawn, QSet<QString>(keys.begin(), keys.end())) << online;
        runPosted();
        EXPECT_EQ(scriptsNamed("setCenter").size(), 1) << "centred once, " << online;
        EXPECT_TRUE(centred);
        markers->setTripMapMarkers();
        runPosted();
        EXPECT_EQ(scriptsNamed("setCenter").size(), 1) << online;
        sink.take();
    }
    // A click plays its recording; one out of range, nothing.
    const int events = static_cast<int>(list.model()->eventList().size());
    markers->mapMarkerClicked(MapPoint(1, 2, "", MarkerType::SURVEILLANCE, 99));
    markers->mapMarkerClicked(MapPoint(1, 2, "", MarkerType::EVENT, events));
    EXPECT_EQ(chapters(), 0);
    markers->mapMarkerClicked(MapPoint(1, 2, "", MarkerType::EVENT, events - 1));
    EXPECT_EQ(player.valueInfo()->playType(), CommonConst::PlayType::Event);
    EXPECT_EQ(currentRow(LT::Event), events - 1);
    markers->mapMarkerClicked(MapPoint(1, 2, "", MarkerType::NORMAL, 1, 0));
    EXPECT_EQ(player.valueInfo()->chapterDataList(), list.model()->tripData()[1]->sortedChapters());
}

// A marker at a recording's first frame reads nothing on the main thread: it waits for the card's
// workers, and their hand-over of the chapter puts it where the frame is, sent alone, and centres the
// map if nothing has yet. Another chapter's hand-over, or a second one, changes nothing.
TEST_F(ItemPlaybackTest, MarkersAtAFirstFrameWaitForTheWorkersAndReadNothing)
{
    loadPage();
    map.markerList().clear();
    const auto &records = list.model()->surveillanceList();
    ASSERT_FALSE(records.empty());
    const uint64_t before = ChapterData::mainThreadReads();
    markers->setSurveillanceMapMarkers();
    runPosted();
    EXPECT_EQ(ChapterData::mainThreadReads(), before);
    EXPECT_EQ(markers->waitingCount(), records.size());
    EXPECT_TRUE(map.markerList().empty());
    EXPECT_TRUE(scriptsNamed("setCenter").isEmpty());
    sink.take();

    for (size_t i = 0; i < records.size(); ++i) {
        const std::shared_ptr<ChapterData> chapter = records[i]->eventChapter();
        ASSERT_TRUE(chapter) << i;
        // The worker's read, on a thread of its own.
        std::thread([&] { chapter->retryPicture(); }).join();
        const VideoFrame first = chapter->getPicture(true)->video->findFrame(0, 0, false);
        const uint64_t handedOver = ChapterData::mainThreadReads();
        markers->chapterRead(*chapter);
        markers->chapterRead(*chapter);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return !markers->isDrawPending(); })) << i;
        EXPECT_EQ(ChapterData::mainThreadReads(), handedOver) << i;
        const QString key = QStringLiteral("S%1").arg(i);
        ASSERT_TRUE(map.markerList().contains(key)) << i;
        const MapPoint &point = *map.markerList().at(key);
        EXPECT_EQ(point.lat, KmlUtil::degrees(first._latitude)) << i;
        EXPECT_EQ(point.lng, KmlUtil::degrees(first._longitude)) << i;
        EXPECT_EQ(point.eventIndex, int(i)) << i;
        EXPECT_EQ(point.marker, MarkerType::SURVEILLANCE) << i;
        EXPECT_EQ(scriptsNamed("addMarker").size(), 1) << "only the new marker goes out, " << i;
        EXPECT_EQ(scriptsNamed("setCenter").size(), i == 0 ? 1 : 0) << "centred on the first, " << i;
        sink.take();
    }
    EXPECT_EQ(markers->waitingCount(), 0u);
}

// The markers a burst of hand-overs puts reach the page together once the wait is over, in one call and
// in the order put; those the whole list took along meanwhile, or that left the list, are not sent again.
TEST_F(ItemPlaybackTest, MarkersPutByABurstOfHandOversAreDrawnTogetherOnce)
{
    loadPage();
    map.markerList().clear();
    // Trip chapters without their records: each marker waits for the workers.
    for (const auto &trip : card->_tripList_tab) {
        for (const auto &chapter : trip->chapters())
            chapter->_vmmInfo = nullptr;
    }
    std::vector<std::pair<std::shared_ptr<ChapterData>, QString>> chapters;
    for (size_t i = 0; i < card->_tripList_tab.size(); ++i) {
        const ChapterList sorted = card->_tripList_tab[i]->sortedChapters();
        for (size_t j = 0; j < sorted.size(); ++j)
            chapters.emplace_back(sorted[j], QStringLiteral("C%1_%2").arg(i).arg(j));
    }
    ASSERT_GE(chapters.size(), 8u);
    markers->setTripMapMarkers();
    ASSERT_EQ(markers->waitingCount(), chapters.size());
    for (const auto &[chapter, key] : chapters)
        std::thread([&] { chapter->retryPicture(); }).join();
    const auto sentKeys = [&] {
        std::vector<std::string> calls; // each call's keys
        for (const QString &call : scriptsNamed("addMarker")) {
            // The arguments as a list: one marker's, or the list of markers.
            const qsizetype open = call.indexOf('(');
            const QJsonArray arguments =
                QJsonDocument::fromJson('[' + call.mid(open + 1, call.size() - open - 2).toUtf8() + ']')
                    .array();
            const QJsonArray sent =
                call.startsWith("addMarkers(") ? arguments.at(0).toArray() : QJsonArray{arguments};
            QStringList keys;
            for (const QJsonValue &marker : sent)
                keys << marker.toArray().at(0).toString();
            calls.push_back(keys.join(' ').toStdString());
        }
        return calls;
    };

    const struct
    {
        const char *name;
        std::vector<int> handOvers;
        std::function<void()> meanwhile; // after the hand-overs, its own scripts left out
        std::vector<int> later;          // hand-overs after it
        std::vector<int> sent;
    } cases[] = {
        {"one burst", {2, 0, 1}, {}, {}, {2, 0, 1}},
        {"the whole list drawn meanwhile", {3}, [&] { map.drawMarkers(); }, {}, {}},
        {"the whole list drawn, then more", {4}, [&] { map.drawMarkers(); }, {5}, {5}},
        {"a marker gone from the list", {6, 7}, [&] { map.markerList().erase(chapters[6].second); }, {}, {7}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        sink.take();
        for (const int i : c.handOvers)
            markers->chapterRead(*chapters[size_t(i)].first);
        EXPECT_TRUE(sentKeys().empty()) << "nothing before the wait is over";
        if (c.meanwhile) {
            c.meanwhile();
            sink.take();
        }
        for (const int i : c.later)
            markers->chapterRead(*chapters[size_t(i)].first);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return !markers->isDrawPending(); }));
        QStringList keys;
        for (const int i : c.sent)
            keys << chapters[size_t(i)].second;
        const std::vector<std::string> expected =
            keys.isEmpty() ? std::vector<std::string>{} : std::vector{keys.join(' ').toStdString()};
        EXPECT_EQ(sentKeys(), expected);
    }
}

// A trip's files are looked for at its hand-over unless exactly its chapters were found a moment ago (by
// the card's read): a file gone alerts and plays nothing, also when another trip's chapters were found.
TEST_F(ItemPlaybackTest, ATripsFilesAreLookedForUnlessItsOwnChaptersWereJustFound)
{
    TempDir own;
    SampleCardWriter writer(SampleScenario::standard());
    ASSERT_TRUE(writer.writeCard(own.path()));
    card->dispose();
    card = std::make_shared<CardData>();
    card->loadCardFolder(QUrl::fromLocalFile(SampleCardWriter::cardFolder(own.path()) + QLatin1Char('/')));
    list.setListData(*card);
    ASSERT_GE(list.model()->tripData().size(), 2u);
    const ChapterList first = list.model()->tripData()[0]->sortedChapters();
    const ChapterList second = list.model()->tripData()[1]->sortedChapters();
    ASSERT_GT(first.size(), 1u);
    ASSERT_TRUE(QFile::remove(first.back()->_pathMp4.toLocalFile()));
    // Chapters found, whether the first trip plays.
    const std::tuple<const char *, ChapterList, bool> cases[] = {
        {"none", {}, false},
        {"another trip's", second, false},
        {"its own", first, true},
    };
    for (const auto &[what, found, plays] : cases) {
        SCOPED_TRACE(what);
        calls.clear();
        EXPECT_EQ(playback->playTripItem(0, 0, false, true, found), plays);
        EXPECT_EQ(calls, plays ? QStringList() : QStringList{"not found"});
        EXPECT_EQ(chapters(), plays ? static_cast<int>(first.size()) : 0);
        EXPECT_FALSE(list.model()->isSelectRowChanging);
    }
}

TEST_F(ItemPlaybackTest, AnUnreadableVersionAlertsAndLeavesThePlayerClearAndTheGuardDown)
{
    card->dispose();
    card = std::make_shared<CardData>();
    card->loadCardFolder(writtenSampleCard(0x0713));
    list.setListData(*card);
    for (const bool event : {false, true}) { // the movie and the protected recordings' paths
        calls.clear();
        EXPECT_FALSE(event ? playback->playEventItem(0, false) : playback->playTripItem(0, 0, false, true));
        EXPECT_EQ(calls, QStringList{"warn Unable to read the selected file."});
        EXPECT_FALSE(list.model()->isSelectRowChanging);
        EXPECT_EQ(chapters(), 0);
    }
}

TEST(FrameDisplayTest, CarFromTheFrameAtOrBeforeThePositionElseTheItemsFirstPositionHeadingNorth)
{
    const FrameTable frames =
        tableOf({{100, frame(10, 20, IconId::NorthEast, true)}, {200, frame(0, 5, IconId::NorthWest, true)}});
    const ChapterList located{recordChapter(0, 0), recordChapter(7, 8)};
    const CarFix fallback{7, 8, IconId::North, false};
    struct Case
    {
        int64_t offset;
        const ChapterList *chapters;
        std::optional<CarFix> car;
    } const cases[] = {
        {100, &located, CarFix{10, 20, IconId::NorthEast, true}},
        {199, &located, CarFix{10, 20, IconId::NorthEast, true}},
        {250, &located, fallback}, // latitude 0 with a longitude counts as no fix
        {50, &located, fallback},  // before the first frame
    };
    for (const Case &c : cases)
        EXPECT_EQ(FrameDisplay::carPosition(&frames, c.offset, nullptr, *c.chapters), c.car) << c.offset;
    const ChapterList nowhere{recordChapter(0, 0)};
    EXPECT_EQ(FrameDisplay::carPosition(&frames, 250, nullptr, nowhere), std::nullopt) << "the car stays";
    EXPECT_EQ(FrameDisplay::carPosition(nullptr, 0, nullptr, located), fallback);
}

TEST(FrameDisplayTest, SpeedRunTableCountsTheFirstStampTwiceAndGivesWhatIsLeftOfEachRun)
{
    const SpeedRunEntry entries[] = {{40, 10}, {100, 10}, {200, 20}, {300, 20}};
    const SpeedDurationTable table = FrameDisplay::speedRunTable(entries);
    const std::pair<int32_t, double> expected[] = {{40, 0.14}, {100, 0.08}, {200, 0.2}, {300, 0.1}};
    ASSERT_EQ(table.size(), std::size(expected));
    for (const auto &[stamp, seconds] : expected)
        EXPECT_NEAR(table.at(stamp), seconds, 1e-9) << stamp;
    EXPECT_TRUE(FrameDisplay::speedRunTable({}).empty());
}
