#include "app/MainWindow.h"
#include "app/BurstMerger.h"
#include "app/CardOpener.h"
#include "app/FormColors.h"
#include "app/ItemPlayback.h"
#include "app/ListMarkers.h"
#include "app/MainMenu.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowPlayerHost.h"
#include "app/MenuValidation.h"
#include "app/ModalRunner.h"
#include "app/RouteRedrawMerger.h"
#include "app/ToolWindows.h"
#include "app/VideoListView.h"
#include "app/WindowCoordinators.h"
#include "card/CardData.h"
#include "card/CardDataDelegate.h"
#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "card/RecentPictures.h"
#include "card/TripData.h"
#include "card/VrecMoveManagerInfo.h"
#include "map/EmptyMapView.h"
#include "map/MapTitleView.h"
#include "map/MapView.h"
#include "map/MapWebPage.h"
#include "map/WebMapView.h"
#include "player/CustomSliderCell.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "recording/FileUtil.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/EventLoop.h"
#include "support/LostRecord.h"
#include "support/PageScript.h"
#include "support/TempDir.h"
#include "videotools/CaptureView.h"

#include "../maintenance/FakePrompts.h"
#include "../map/RouteReference.h"
#include "AppFakes.h"
#include "MainWindowFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>
#include <gtest/gtest.h>

TEST(MainWindowTest, FirstLaunchOpensTheViewerSettingsOnceAcrossStartsAndFullScreenShowsOnlyThePlayer)
{
    TempDir dir;
    {
        Fixture first(true, dir.filePath("s.conf"));
        first.startUpUntilShown();
        EXPECT_TRUE(first.window->isVisible());
        ASSERT_EQ(first.runs.size(), 1u);
        EXPECT_EQ(first.runs[0].first, ModalWindow::Type::ViewerSetting);
        EXPECT_TRUE(first.window->reachabilityWatcher()->isReprobing()) << "the map server was unreachable";
    }
    Fixture f(true, dir.filePath("s.conf"));
    f.startUpUntilShown();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.runs.empty());
    // Full screen leaves the player alone; leaving it brings the panels back.
    MainWindowLayout *panels = f.window->panels();
    const QList<QWidget *> sides = {panels->mapTitleView(), panels->emptyMapView(), panels->videoListSlot(),
                                    panels->drivingInfoSlot()};
    const int normalWidth = panels->moviePlayerView()->width();
    // The panels stand on the form's background; the menu bar keeps the desktop's colours.
    EXPECT_EQ(panels->palette().color(QPalette::Window), FormColors::FROM_BACKGROUND_COLOR);
    EXPECT_EQ(panels->palette().color(QPalette::WindowText), FormColors::FROM_TEXT_COLOR);
    EXPECT_TRUE(panels->autoFillBackground());

    f.window->mainMenu()->action(MenuCommand::FullScreen)->trigger();
    EventLoop::waitUntil([&] { return f.window->isFullscreen(); });
    QCoreApplication::processEvents();
    for (QWidget *side : sides)
        EXPECT_FALSE(side->isVisible()) << side->metaObject()->className();
    EXPECT_EQ(panels->moviePlayerView()->size(), panels->size());
    EXPECT_TRUE(f.window->mainMenu()->action(MenuCommand::FullScreen)->isChecked());

    f.window->mainMenu()->action(MenuCommand::FullScreen)->trigger();
    EventLoop::waitUntil([&] { return !f.window->isFullscreen(); });
    f.window->resize(1280, 800);
    QCoreApplication::processEvents();
    for (QWidget *side : sides)
        EXPECT_TRUE(side->isVisible()) << side->metaObject()->className();
    EXPECT_EQ(panels->mapTitleView()->width(), panels->videoListSlot()->width());
    EXPECT_EQ(panels->moviePlayerView()->width(), normalWidth);
}

TEST(MainWindowTest, MenuCommandsWithoutCardAndTheirRuns)
{
    Fixture f;
    f.settings.language = 2;
    f.startUpUntilShown();
    MainMenu *menu = f.window->mainMenu();
    EXPECT_TRUE(menu->action(MenuCommand::Open)->isEnabled());
    EXPECT_FALSE(menu->action(MenuCommand::SaveAs)->isEnabled() ||
                 menu->action(MenuCommand::BackUp)->isEnabled());

    menu->action(MenuCommand::About)->trigger();
    menu->action(MenuCommand::ViewerSettings)->trigger();
    ASSERT_EQ(f.runs.size(), 2u);
    EXPECT_EQ(f.runs[0].first, ModalWindow::Type::Etc);
    EXPECT_EQ(f.runs[1].first, ModalWindow::Type::ViewerSetting);
    EXPECT_FALSE(f.settings.flag(UserDefaultUtil::KEY_VIEWER_SETTING_FLG)) << "released after the run";

    menu->action(MenuCommand::DownloadUpdates)->trigger();
    ASSERT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(QUrlQuery(f.opened[0]).queryItemValue("lang"), "es");

    // A usable card enables Save as and Back up; both open the backup dialog.
    f.window->setBackupFlg(true);
    menu->action(MenuCommand::SaveAs)->trigger();
    menu->action(MenuCommand::BackUp)->trigger();
    ASSERT_EQ(f.runs.size(), 4u);
    EXPECT_EQ(f.runs[2].first, ModalWindow::Type::BackupSetting);
    EXPECT_EQ(f.runs[3].second, "Select backup folder");

    // The player's buttons reach the same commands.
    MainWindowPlayerHost host(*f.window);
    host.showOpenFromDialog();
    ASSERT_EQ(f.runs.size(), 5u);
    EXPECT_EQ(f.runs[4].first, ModalWindow::Type::OpenForm);
}

TEST(MainWindowTest, ClosingWithNothingLoadedQuitsWithoutAskingAndTakesTheDetachedMapAlong)
{
    Fixture f;
    f.startUpUntilShown();
    QPointer<MapView> map = f.window->mapView();
    f.window->panels()->mapTitleView()->onMapWindowButton();
    ASSERT_NE(map->window(), f.window.get());
    EXPECT_TRUE(f.window->close());
    EXPECT_TRUE(f.window->isQuitConfirmed());
    EXPECT_TRUE(f.prompter.shown.isEmpty());
    EXPECT_TRUE(f.settings.contains(UserDefaultUtil::KEY_VIEWER_IS_MUTE));
    EXPECT_FALSE(f.settings.contains(UserDefaultUtil::KEY_MAP_TYPE_ID)) << "no item: no map state";
    EXPECT_NE(map->window(), f.window.get()) << "still detached when the window goes";
    f.window.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(map.isNull()) << "deleted with the main window, not left behind";
    // The quit marks the thread so that every later modal loop would end at once; a run of the
    // application's own loop clears the mark for the suites that follow in this process.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST(MainWindowTest, OpensFillTheListStillsArriveAndBackUpFollowsTheOpenSource)
{
    Fixture f;
    f.window->startUp();
    std::vector<CardOpener::Outcome> outcomes;
    QObject::connect(f.window->cardOpener(), &CardOpener::finished,
                     [&](CardOpener::Outcome outcome) { outcomes.push_back(outcome); });
    f.window->cardOpener()->pauseMsec = 0;
    auto open = [&](const QUrl &url, MovieType type) {
        f.window->cardOpener()->openVideoData(url, true, type);
        EXPECT_TRUE(f.window->isLoading());
        EventLoop::waitUntil([&, before = outcomes.size()] { return outcomes.size() > before; });
        return outcomes.back();
    };
    VideoListModel *list = f.window->videoListView()->model();

    // The map page has not answered a zoom: nothing of the map is kept and the flag stays.
    f.window->setMapZoomAndCenter(true);
    EXPECT_EQ(open(writtenSampleCard(), MovieType::Backup), CardOpener::Outcome::Opened);
    EXPECT_TRUE(f.window->isMapZoomAndCenter());
    EXPECT_FALSE(f.settings.contains(UserDefaultUtil::KEY_MAP_ZOOM));
    EXPECT_FALSE(f.window->isLoading());
    EXPECT_FALSE(f.window->backupFlg()) << "a backup folder is not backed up again";
    ASSERT_EQ(list->rowCount(), static_cast<int>(list->tripData().size()));
    EXPECT_EQ(list->shownCurrentRow(), 0);
    // The workers' stills reach the rows in place.
    EXPECT_TRUE(EventLoop::waitUntil([list] {
        return !list->index(0, VideoListModel::ImageColumn)
                    .data(VideoListModel::ThumbnailRole)
                    .toString()
                    .isEmpty();
    }));

    EXPECT_EQ(open(writtenSampleCard(), MovieType::Card), CardOpener::Outcome::Opened);
    EXPECT_TRUE(f.window->backupFlg());
    EXPECT_EQ(open(writtenSampleCard(0x0713), MovieType::Card), CardOpener::Outcome::UnreadableFile);
    EXPECT_FALSE(f.window->backupFlg());
    EXPECT_EQ(list->rowCount(), 0) << "the previous card's rows went with the reset";
    EXPECT_EQ(f.prompter.shown, QStringList{"warn: Unable to read the selected file."});
}

// A tool is handed the brightness slider's value, which its still rule takes as 1.0 neutral: the
// engine's filter offset (0.0 at neutral) darkened every still.
TEST(MainWindowTest, ToolsAreHandedTheBrightnessSlidersValue)
{
    Fixture f;
    f.window->startUp();
    bool opened = false;
    QObject::connect(f.window->cardOpener(), &CardOpener::finished,
                     [&](CardOpener::Outcome) { opened = true; });
    f.window->cardOpener()->pauseMsec = 0;
    f.window->cardOpener()->openVideoData(writtenSampleCard(), true, MovieType::Backup);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return opened; }));
    const ToolWindows &tools = f.window->coordinators()->toolWindows();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return tools.playerState().hasRecording; }));
    MoviePlayerView *panel = f.window->panels()->moviePlayerView();
    for (const double gamma : {1.0, 3.0, 0.1}) {
        panel->setGamma(gamma);
        EXPECT_EQ(tools.playerState().info.brightBarVal, gamma);
    }
}

namespace {
// Opens the card written under folder and waits until the workers have read it all and the map has
// taken their last hand-offs.
bool openAndReadWhole(Fixture &f, const QString &folder)
{
    f.window->cardOpener()->pauseMsec = 0;
    bool opened = false;
    QObject::connect(f.window->cardOpener(), &CardOpener::finished, [&] { opened = true; });
    f.window->cardOpener()->openVideoData(
        QUrl::fromLocalFile(SampleCardWriter::cardFolder(folder) + QStringLiteral("/")), true,
        MovieType::Card);
    if (!EventLoop::waitUntil([&] { return opened; }) ||
        !EventLoop::waitUntil([&] { return f.window->cardData()->loadWorkersDone(); }))
        return false;
    // The last hand-offs were queued before the workers found nothing left; their redraw waits out
    // its merge.
    QCoreApplication::processEvents();
    return EventLoop::waitUntil([&] { return !f.window->routeRedraw()->isPending(); });
}
} // namespace

// The route of a long trip grows while the workers read it: a few page calls per chapter, never one
// per point or per chapter already drawn, and in the end the whole route.
TEST(MainWindowTest, RouteOfALongTripGrowsByAFewPageCallsPerChapter)
{
    constexpr int CHAPTERS = 100;
    TempDir cardDir;
    SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
    scenario.movieMs = 500;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(cardDir.path()));
    Fixture f;
    f.window->startUp();
    MapWebPage *page = f.window->mapView()->webPage();
    const qint64 before = page->scriptCalls();
    const qint64 charactersBefore = page->scriptCharacters();
    ASSERT_TRUE(openAndReadWhole(f, cardDir.path()));
    const qint64 calls = page->scriptCalls() - before;
    const qint64 characters = page->scriptCharacters() - charactersBefore;
    EXPECT_LE(calls, 3 * CHAPTERS + 40);

    // Every chapter's points, once each, as reading the whole trip gives them.
    WebMapView *bridge = f.window->mapView()->mapWebView();
    const std::vector<RoutePoint> grown = bridge->polyList();
    bridge->polyList().clear();
    bridge->drawRoute(*f.window->cardData()->_tripList.front());
    ASSERT_EQ(grown.size(), bridge->polyList().size());
    EXPECT_GT(grown.size(), size_t(CHAPTERS));
    // Each point went out about once (the trip's selection draws what is ready then), not once for
    // every chapter after it.
    EXPECT_LE(characters, qint64(grown.size()) * 2 * 24 + 100 * calls) << calls << " calls";
    for (size_t i = 0; i < grown.size(); ++i) {
        ASSERT_EQ(grown[i].lat, bridge->polyList()[i].lat) << i;
        ASSERT_EQ(grown[i].lng, bridge->polyList()[i].lng) << i;
    }
}

// While the workers read a trip whose markers wait for them (its records lost), what each wait gives the
// map, its new markers and route pieces, reaches the page in one call, once a wait: every call costs the
// page milliseconds, and a full card's read made hundreds. In the end the page holds every pin and the
// whole route.
TEST(MainWindowTest, TheMarkersAndRouteTheWorkersGiveReachThePageOnceAWait)
{
    constexpr int CHAPTERS = 120;
    TempDir cardDir;
    SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
    scenario.movieMs = 500;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(cardDir.path()));
    ASSERT_TRUE(
        QFile::remove(SampleCardWriter::cardFolder(cardDir.path()) + QStringLiteral("/VREC_MOV_MNG.DAT")));
    Fixture f(false, {}, true);
    f.window->startUp();
    MapWebPage *page = f.window->mapView()->webPage();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return f.window->mapView()->mapWebView()->isInitialized(); }));
    // The calls that carry what the workers' hand-overs give, once the open has drawn the whole list and
    // the first trip's route.
    std::vector<qint64> calls;
    QElapsedTimer clock;
    bool opened = false;
    QObject::connect(f.window->cardOpener(), &CardOpener::finished, [&] { opened = true; });
    QObject::connect(page, &MapWebPage::scriptAsked, [&](const QString &script) {
        if (opened && (script.contains(QLatin1String("addMarkers(")) ||
                       script.contains(QLatin1String("extendPolyline()"))))
            calls.push_back(clock.elapsed());
    });
    clock.start();
    ASSERT_TRUE(openAndReadWhole(f, cardDir.path()));
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !f.window->listMarkers().isDrawPending(); }));
    const qint64 readFor = clock.elapsed();

    // None on a busy machine whose workers read the whole trip before the open drew it.
    for (size_t i = 1; i < calls.size(); ++i)
        EXPECT_GE(calls[i] - calls[i - 1], BurstBeat::WAIT_MSEC * 9 / 10) << i << " of " << calls.size();
    EXPECT_LE(qint64(calls.size()), readFor / BurstBeat::WAIT_MSEC + 1);

    const QJsonObject shown =
        QJsonDocument::fromJson(
            evaluateInPage(
                page->page(),
                "JSON.stringify({ pins: Object.keys(markers).length, route: routeLatLngs().length })")
                .toString()
                .toUtf8())
            .object();
    EXPECT_EQ(shown["pins"].toInt(), CHAPTERS);
    WebMapView &bridge = *f.window->mapView()->mapWebView();
    EXPECT_EQ(shown["route"].toInt(), int(bridge.polyList().size()));
    EXPECT_GT(bridge.polyList().size(), size_t(CHAPTERS));
}

// Once the workers have read a trip longer than the cache of recent driving data keeps, the walks over
// the whole trip read no recording on the main thread: drawing and extending its route, the list's
// markers, the workers' hand-overs and a switch of lists. Playing the trip again reads at most the
// chapter it plays and the one prepared after it.
TEST(MainWindowTest, WalksOverALongTripReadNoRecordingOnTheMainThread)
{
    constexpr int CHAPTERS = int(RecentPictures::CAPACITY) + 8;
    TempDir cardDir;
    SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
    scenario.movieMs = 500;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(cardDir.path()));
    Fixture f(false, {}, true);
    f.window->startUp();
    ASSERT_TRUE(openAndReadWhole(f, cardDir.path()));

    CardData &card = *f.window->cardData();
    TripData &trip = *card._tripList_tab.front();
    const ChapterList chapters = trip.sortedChapters();
    ASSERT_EQ(chapters.size(), size_t(CHAPTERS));
    WebMapView &map = *f.window->mapView()->mapWebView();
    VideoListView &list = *f.window->videoListView();
    const auto receiver = card.delegate.lock();
    ASSERT_TRUE(receiver);
    using LT = CommonConst::ListType;
    struct Walk
    {
        const char *name;
        std::function<void()> walk;
        uint64_t allowedReads;
    };
    const Walk walks[] = {
        {"draw the route",
         [&] {
             map.removeRoute();
             map.drawRoute(trip);
         },
         0},
        {"extend a route emptied meanwhile",
         [&] {
             map.polyList().clear();
             map.extendRoute(trip);
         },
         0},
        {"the trips' and the surveillance markers",
         [&] {
             f.window->listMarkers().setTripMapMarkers();
             f.window->listMarkers().setSurveillanceMapMarkers();
         },
         0},
        {"a hand-over of every chapter",
         [&] {
             for (const auto &chapter : chapters)
                 receiver->redrawRoute(*chapter);
             EventLoop::waitUntil([&] { return !f.window->routeRedraw()->isPending(); });
         },
         0},
        {"every list and back",
         [&] {
             for (const LT type : {LT::TripChapter, LT::Event, LT::Surveillance, LT::Adventure, LT::Trip}) {
                 list.tabButton(type)->click();
                 QCoreApplication::processEvents();
             }
         },
         0},
        {"play the trip again",
         [&] {
             emit list.rowClicked(LT::Trip, 0);
             QCoreApplication::processEvents();
         },
         2},
    };
    for (const Walk &walk : walks) {
        // Only the chapters used last keep their driving data; here, none.
        RecentPictures::shared().clear();
        const uint64_t before = ChapterData::mainThreadReads();
        walk.walk();
        EXPECT_LE(ChapterData::mainThreadReads() - before, walk.allowedReads) << walk.name;
    }
    // The route drawn from what the chapters keep is the one their driving data gives.
    map.removeRoute();
    map.drawRoute(trip);
    const std::vector<RoutePoint> reference = RouteReference::of(chapters);
    EXPECT_GT(reference.size(), size_t(CHAPTERS));
    EXPECT_TRUE(std::ranges::equal(
        map.polyList(), reference,
        [](const RoutePoint &a, const RoutePoint &b) { return a.lat == b.lat && a.lng == b.lng; }))
        << map.polyList().size() << " points drawn, " << reference.size() << " read";
}

// A trip whose chapters have no management record, or one of whose chapters lost its record, opens and
// plays reading on the main thread no recording but the chapter it plays and the one prepared after it.
// Once the workers have handed every chapter over, the player's timeline is the one the recordings give:
// each chapter's own span without records; where a lost record's length is the next chapter's counter
// less the chapter's own, which only its recording tells, the hand-over brings it.
TEST(MainWindowTest, ATripWithoutRecordsOpensReadingOnlyTheChaptersItPlays)
{
    constexpr int CHAPTERS = 40;
    constexpr int LOST = 20;
    const struct
    {
        const char *name;
        bool allRecordsLost; // else only LOST's, far from the chapters played first
    } cases[] = {{"no records", true}, {"one record lost", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir cardDir;
        SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
        scenario.movieMs = 500;
        ASSERT_TRUE(SampleCardWriter(scenario).writeCard(cardDir.path()));
        const QString records =
            SampleCardWriter::cardFolder(cardDir.path()) + QStringLiteral("/VREC_MOV_MNG.DAT");
        if (c.allRecordsLost) {
            ASSERT_TRUE(QFile::remove(records));
        } else {
            ASSERT_TRUE(loseMovieRecord(SampleCardWriter::cardFolder(cardDir.path()), LOST));
        }
        Fixture f(false, {}, true);
        f.window->startUp();
        const uint64_t before = ChapterData::mainThreadReads();
        ASSERT_TRUE(openAndReadWhole(f, cardDir.path()));
        EXPECT_LE(ChapterData::mainThreadReads() - before, 2u);

        const ChapterList chapters = f.window->cardData()->_tripList_tab.front()->sortedChapters();
        ASSERT_EQ(chapters.size(), size_t(CHAPTERS));
        ASSERT_EQ(bool(chapters[LOST]->_vmmInfo), false);
        const auto &valueInfo = f.window->panels()->moviePlayerView()->valueInfo();
        ASSERT_TRUE(valueInfo);
        const ChapterTimeline &timeline = valueInfo->timeline();
        ASSERT_EQ(timeline.size(), chapters.size());
        EXPECT_TRUE(timeline.isSettled());
        int64_t total = -1;
        for (size_t i = 0; i < chapters.size(); ++i) {
            bool isError = false;
            const auto whole =
                Mp4RecordingReader::read(chapters[i]->_pathMove.toLocalFile(), Date::distantPast(),
                                         Date::distantFuture(), isError, {});
            ASSERT_TRUE(whole) << i;
            const auto next = i + 1 < chapters.size() ? chapters[i + 1] : nullptr;
            // The next chapter's counter less this one's where the next has its record.
            const int64_t own = chapters[i]->_vmmInfo ? int64_t(chapters[i]->_vmmInfo->_timeStamp)
                                                      : int64_t(whole->findFrame(0, 0, true)._timeStamp);
            const int64_t length = next && next->_vmmInfo ? int64_t(next->_vmmInfo->_timeStamp) - own
                                                          : int64_t(whole->_timeSpan);
            EXPECT_EQ(timeline.length(i), length) << i;
            total += length + 1;
        }
        EXPECT_EQ(valueInfo->maxValue(), total);
        EXPECT_EQ(f.window->panels()->moviePlayerView()->trackCell()->maxValue(), double(total));
    }
}

TEST(MenuValidationTest, SavingCommandsNeedAUsableCardAndNoSheetOthersOnlyTheirHandler)
{
    using State = MenuValidation::State;
    using enum MenuCommand;
    // State (usable card, sheet shown, window works when modal), "Save as" and "Back up" enabled.
    const std::tuple<const char *, State, bool> rows[] = {
        {"no card", {false, false, false}, false},
        {"usable card", {true, false, false}, true},
        {"usable card under a sheet", {true, true, false}, false},
        {"usable card under a sheet, window works when modal", {true, true, true}, true},
        {"no card under a sheet", {false, true, true}, false},
    };
    for (const auto &[name, state, saveEnabled] : rows) {
        SCOPED_TRACE(name);
        for (MenuCommand saving : {SaveAs, BackUp}) {
            EXPECT_EQ(MenuValidation::isEnabled(saving, true, state), saveEnabled);
            EXPECT_FALSE(MenuValidation::isEnabled(saving, false, state));
        }
        for (MenuCommand command : {About, Open, ViewerSettings, CameraSettings, BackupDirectorySettings,
                                    Delete, DownloadUpdates, Quit}) {
            EXPECT_TRUE(MenuValidation::isEnabled(command, true, state));
            EXPECT_FALSE(MenuValidation::isEnabled(command, false, state)) << "no handler, no item";
        }
    }
}

TEST(MainMenuTest, ActionsFollowTheStateAndOnlyEnabledHandlersRun)
{
    QMenuBar bar;
    MenuValidation::State state;
    MainMenu menu(&bar, [&state] { return state; });
    int saves = 0;
    int abouts = 0;
    menu.setHandler(MenuCommand::SaveAs, [&] { ++saves; });
    menu.setHandler(MenuCommand::About, [&] { ++abouts; });

    EXPECT_FALSE(menu.action(MenuCommand::Open)->isEnabled());
    EXPECT_FALSE(menu.action(MenuCommand::SaveAs)->isEnabled());
    menu.action(MenuCommand::SaveAs)->trigger();
    menu.trigger(MenuCommand::Open);
    EXPECT_EQ(saves, 0);

    state.backupFlg = true;
    menu.validate();
    EXPECT_TRUE(menu.action(MenuCommand::SaveAs)->isEnabled());
    EXPECT_FALSE(menu.action(MenuCommand::BackUp)->isEnabled()) << "its handler does not exist";
    menu.action(MenuCommand::SaveAs)->trigger();
    menu.action(MenuCommand::About)->trigger();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(abouts, 1);

    // The state is asked again when a command is chosen, not only when a menu opens.
    state.backupFlg = false;
    menu.trigger(MenuCommand::SaveAs);
    EXPECT_EQ(saves, 1);
}

// The tools the main window opens know the opened card, so they refuse to write into it.
TEST(MainWindowTest, ToolsAreHandedTheOpenedCard)
{
    Fixture f;
    f.window->startUp();
    bool opened = false;
    QObject::connect(f.window->cardOpener(), &CardOpener::finished,
                     [&](CardOpener::Outcome outcome) { opened = outcome == CardOpener::Outcome::Opened; });
    f.window->cardOpener()->pauseMsec = 0;
    const QUrl card = writtenSampleCard();
    f.window->cardOpener()->openVideoData(card, true, MovieType::Card);
    ASSERT_TRUE(EventLoop::waitUntil([&] { return opened; }));
    MoviePlayerView *player = f.window->panels()->moviePlayerView();
    ASSERT_TRUE(EventLoop::waitUntil([&] { return player->valueInfo() && player->currentPictureData(); }));

    ToolWindows &tools = f.window->coordinators()->toolWindows();
    std::optional<QUrl> handed;
    QTimer::singleShot(0, [&] {
        if (CaptureView *view = tools.captureView()) {
            handed = view->toolinfo ? view->toolinfo->openSourcePath : std::nullopt;
            view->cancelAction();
        }
    });
    tools.openToolWindow(ToolWindows::SNAPSHOT_BUTTON);
    ASSERT_TRUE(handed);
    EXPECT_EQ(*handed, f.window->cardData()->_openSourcePath);
    EXPECT_EQ(FileUtil::splitPath(*handed).first->toLocalFile(),
              FileUtil::splitPath(card).first->toLocalFile());
}

// The open fills the list, marks the map and hands over to the first trip on passes of the event loop of
// their own. What the user does between the list and the markers, or between the markers and the first
// item, starts nothing of its own: the open ends as it does without it (the first trip plays, the list
// and the map filled, the same alerts), a second open takes its place, and a window closed meanwhile
// ends it.
TEST(MainWindowTest, WhatTheUserDoesWhileTheListIsShownAndTheFirstTripNotYetIsSafe)
{
    using O = CardOpener::Outcome;
    using LT = CommonConst::ListType;
    const QUrl card = writtenSampleCard();
    struct Result
    {
        std::vector<O> outcomes;
        int rows = 0, shownRow = -1;
        LT shownList = LT::Event;
        size_t markers = 0;
        QStringList alerts;
        ChapterList playing, first;
    };
    // afterMarkers: the user acts once the markers' pass is over too, not right after the list's.
    const auto open = [&](const std::function<void(Fixture &)> &meanwhile, bool afterMarkers = false,
                          bool closes = false) {
        Fixture f(false, {}, true);
        f.startUpUntilShown();
        f.window->cardOpener()->pauseMsec = 0;
        Result result;
        QObject context;
        QObject::connect(f.window->cardOpener(), &CardOpener::finished, &context,
                         [&](O outcome) { result.outcomes.push_back(outcome); });
        VideoListModel *list = f.window->videoListView()->model();
        bool acted = false;
        QObject::connect(list, &QAbstractItemModel::modelReset, &context, [&] {
            if (acted || list->rowCount() == 0 || !meanwhile)
                return;
            acted = true;
            const auto act = [&] {
                EXPECT_TRUE(f.window->cardOpener()->isShowing());
                EXPECT_EQ(f.window->mapView()->mapWebView()->markerList().empty(), !afterMarkers)
                    << "the markers come on a pass of their own";
                meanwhile(f);
                if (f.window)
                    EXPECT_TRUE(f.window->panels()->moviePlayerView()->valueInfo()->chapterDataList().empty())
                        << "nothing started meanwhile";
            };
            // Runs once this pass is over, before the open's next one; or once the next one is over too.
            QMetaObject::invokeMethod(
                &context,
                [&, act] {
                    if (afterMarkers)
                        QMetaObject::invokeMethod(&context, act, Qt::QueuedConnection);
                    else
                        act();
                },
                Qt::QueuedConnection);
        });
        f.window->cardOpener()->openVideoData(card, true, MovieType::Backup);
        if (closes) {
            EXPECT_TRUE(EventLoop::waitUntil([&] { return !f.window; }));
            EventLoop::runFor(std::chrono::milliseconds(200));
            return result;
        }
        EXPECT_TRUE(EventLoop::waitUntil(
            [&] { return !result.outcomes.empty() && result.outcomes.back() != O::Dropped; }));
        EXPECT_TRUE(!meanwhile || acted);
        list = f.window->videoListView()->model();
        result.rows = list->rowCount();
        // The workers' hand-overs add the pins of chapters read since.
        EXPECT_TRUE(EventLoop::waitUntil([&] { return f.window->cardData()->loadWorkersDone(); }));
        QCoreApplication::processEvents();
        result.markers = f.window->mapView()->mapWebView()->markerList().size();
        result.alerts = f.prompter.shown;
        const auto &valueInfo = f.window->panels()->moviePlayerView()->valueInfo();
        result.playing = valueInfo ? valueInfo->chapterDataList() : ChapterList();
        result.first = list->tripData().empty() ? ChapterList() : list->tripData()[0]->sortedChapters();
        result.shownList = list->listType();
        result.shownRow = list->shownCurrentRow();
        // Nothing holds the user's clicks any more: another trip plays.
        emit f.window->videoListView()->rowClicked(LT::Trip, 1);
        EXPECT_EQ(f.window->panels()->moviePlayerView()->valueInfo()->chapterDataList(),
                  list->tripData()[1]->sortedChapters());
        return result;
    };
    const Result plain = open({});
    ASSERT_EQ(plain.outcomes, std::vector{O::Opened});
    ASSERT_GT(plain.rows, 0);
    EXPECT_EQ(plain.shownList, LT::Trip);
    EXPECT_EQ(plain.shownRow, 0);
    ASSERT_GT(plain.markers, 0u);
    ASSERT_FALSE(plain.first.empty());
    EXPECT_EQ(plain.playing, plain.first);

    const std::tuple<const char *, std::function<void(Fixture &)>, std::vector<O>> cases[] = {
        {"a click on another trip",
         [](Fixture &f) { emit f.window->videoListView()->rowClicked(LT::Trip, 1); },
         {O::Opened}},
        {"a click on an event",
         [](Fixture &f) { emit f.window->videoListView()->rowClicked(LT::Event, 0); },
         {O::Opened}},
        {"a click on another trip's pin",
         [](Fixture &f) { f.window->mapMarkerClicked(MapPoint(35.0, 139.0, {}, MarkerType::NORMAL, 1, 0)); },
         {O::Opened}},
        {"the next item", [](Fixture &f) { f.window->itemPlayback().playNextItem(); }, {O::Opened}},
        {"a second open",
         [&](Fixture &f) { f.window->cardOpener()->openVideoData(card, true, MovieType::Backup); },
         {O::Dropped, O::Opened}},
    };
    for (const bool afterMarkers : {false, true}) {
        SCOPED_TRACE(afterMarkers ? "after the markers" : "after the list");
        for (const auto &[what, meanwhile, outcomes] : cases) {
            SCOPED_TRACE(what);
            const Result result = open(meanwhile, afterMarkers);
            EXPECT_EQ(result.outcomes, outcomes);
            EXPECT_EQ(result.rows, plain.rows);
            EXPECT_EQ(result.shownList, plain.shownList);
            EXPECT_EQ(result.shownRow, plain.shownRow);
            EXPECT_EQ(result.markers, plain.markers);
            EXPECT_EQ(result.alerts, plain.alerts);
            EXPECT_EQ(result.playing, result.first) << "the first trip plays";
        }
        SCOPED_TRACE("the window closed");
        const Result closed = open([](Fixture &f) { f.window.reset(); }, afterMarkers, true);
        EXPECT_TRUE(closed.outcomes.empty());
    }
}
