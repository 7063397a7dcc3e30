#include "app/ItemPlayback.h"

#include "app/StopWatchPanel.h"
#include "app/VideoListModel.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/EventClip.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "graph/ChapterDrivingData.h"
#include "graph/CircleChartView.h"
#include "graph/DrivingInfoView.h"
#include "map/KmlUtil.h"
#include "map/RouteFrameCollection.h"
#include "map/WebMapView.h"
#include "player/CustomSliderCell.h"
#include "player/MediaEngine.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QCoreApplication>
#include <limits>

namespace {
const char *const kVersion = "0714";

QString unreadableText()
{
    return QCoreApplication::translate("MainWindow", "Unable to read the selected file.");
}

int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
} // namespace

ItemPlayback::ItemPlayback(Parts parts, Hooks hooks)
    : _parts(std::move(parts)), _hooks(std::move(hooks)),
      _frames(_parts.player, _parts.map, _parts.panel, _hooks.redisplayMap)
{
}

ItemPlayback::~ItemPlayback() = default;

bool ItemPlayback::giveUp()
{
    _parts.list.model()->isSelectRowChanging = false;
    return false;
}

void ItemPlayback::unreadable()
{
    _parts.player.clearMovie(false);
    _parts.list.model()->isSelectRowChanging = false;
    _hooks.warn(unreadableText());
}

bool ItemPlayback::beginChange(int index, ListType type, bool switchTab, bool leaveTrim, TripData *playing)
{
    VideoListModel &model = *_parts.list.model();
    model.isSelectRowChanging = true;
    if (leaveTrim) {
        if (_hooks.leaveTrimMode)
            _hooks.leaveTrimMode();
        if (_hooks.resetZoom)
            _hooks.resetZoom();
    }
    _frames.forgetChapter();
    _parts.player.pauseMovie();
    if (_hooks.confirmStopWatchReset && !_hooks.confirmStopWatchReset())
        return giveUp();
    model.resetRows();
    if (!_parts.list.selectRow(index, type, switchTab) && !_parts.list.selectRow(0, type, switchTab))
        return giveUp();
    _parts.player.clearMovie(false);
    _parts.player.updateDatetimeLabel();
    updateFrameDisplay(false);
    clearMapRoute(playing);
    return true;
}

void ItemPlayback::clearMapRoute(TripData *playing)
{
    WebMapView &map = _parts.map;
    // The trip played again keeps the route the page shows: sending a long trip's again costs the page
    // seconds. Should it fail to play, playMovieItem takes the route off.
    if (!playing || !map.showsRouteOf(*playing))
        map.removeRoute();
    map.runScript(QStringLiteral("removeMyCar()"));
    map.currentPoint().clear();
}

void ItemPlayback::loadPanels(const std::function<void()> &load)
{
    // Loaded before and after one refresh, so the charts start from the item's first frame.
    load();
    updateFrameDisplay(false);
    load();
}

bool ItemPlayback::playTripItem(int tripIndex, int chapterIndex, bool switchTab, bool resetTools,
                                const ChapterList &found)
{
    VideoListModel &model = *_parts.list.model();
    if (model.isSelectRowChanging || tripIndex < 0 || tripIndex >= static_cast<int>(model.tripData().size()))
        return false;
    const std::shared_ptr<TripData> trip = model.tripData()[static_cast<size_t>(tripIndex)];
    if (!beginChange(tripIndex, ListType::Trip, switchTab, resetTools, trip.get()))
        return false;
    return playMovieItem(*trip, tripIndex, chapterIndex, switchTab, false, found);
}

bool ItemPlayback::playAdventureItem(int advIndex, int chapterIndex, bool switchTab)
{
    VideoListModel &model = *_parts.list.model();
    // Always guarded: a request arriving while another item loads is refused whatever row is current.
    if (model.isSelectRowChanging || advIndex < 0 ||
        advIndex >= static_cast<int>(model.adventureData().size()))
        return false;
    const std::shared_ptr<CardData> card = _parts.card();
    if (advIndex >= static_cast<int>(card->_advTripList.size()))
        return false;
    const std::shared_ptr<TripData> adventure = card->_advTripList[static_cast<size_t>(advIndex)];
    if (!beginChange(advIndex, ListType::Adventure, switchTab, true, adventure.get()))
        return false;
    return playMovieItem(*adventure, advIndex, chapterIndex, switchTab, true);
}

bool ItemPlayback::playMovieItem(TripData &trip, int index, int chapterIndex, bool switchTab, bool adventure,
                                 const ChapterList &found)
{
    (void)switchTab;
    MoviePlayerView &player = _parts.player;
    VideoListModel &model = *_parts.list.model();
    const ChapterList chapters = trip.sortedChapters();
    // Chapters the card's read has just found are not looked for again: on a long trip the look takes the
    // main thread a while.
    if (chapters != found && !TripData::moviesExist(chapters)) {
        _parts.map.removeRoute();
        giveUp();
        _hooks.showFileNotFound();
        return false;
    }
    if (chapterIndex >= 0 && chapterIndex < static_cast<int>(chapters.size())) {
        const auto picture = chapters[static_cast<size_t>(chapterIndex)]->getPicture(true);
        if (!picture || !picture->video || picture->video->_fileVersion != QLatin1String(kVersion)) {
            _parts.map.removeRoute();
            unreadable();
            return false;
        }
    }
    const std::shared_ptr<CardData> card = _parts.card();
    card->_activeType = adventure ? CardData::ActiveType::AdventureRec : CardData::ActiveType::MovieRec;
    for (const auto &each : card->_tripList)
        each->_isActive = false;
    auto valueInfo = std::make_shared<PlayMovieValueInfo>(chapters, card->_activeType.load());
    player.setValueInfo(valueInfo);
    valueInfo->setCurrentValue(PictureDataUtil::getPosition(valueInfo->timeline(), chapterIndex, 0));
    player.preparePlayer();
    player.updateDatetimeLabel();
    player.updateToolButtons();
    player.updateDiffSecLabel();
    player.updateControlButtons();
    if (player.autoPlay())
        player.playMovie();
    else
        player.stopMovie();
    const ListType chapterList = adventure ? ListType::AdvChapter : ListType::TripChapter;
    if (!adventure)
        model.isSelectRowChanging = false;
    _parts.list.selectRow(chapterIndex, chapterList, false);
    model.isSelectRowChanging = false;
    _parts.map.drawRoute(trip);
    const int count = static_cast<int>(adventure ? model.adventureData().size() : model.tripData().size());
    if (_hooks.neighbours)
        _hooks.neighbours(index >= 1, index < count - 1);
    if (StopWatchPanel *stopWatch = _parts.stopWatch ? _parts.stopWatch() : nullptr;
        stopWatch && stopWatch->isLoaded()) {
        stopWatch->clearData();
        stopWatch->resetMeasurement();
        stopWatch->setChapters(valueInfo->timeline());
    }
    if (!adventure)
        player.updateDatetimeLabel();
    if (DrivingInfoView *panel = _parts.panel ? _parts.panel() : nullptr) {
        auto source = std::make_shared<ChapterDrivingData>(chapters);
        _frames.adoptSource(valueInfo, source);
        loadPanels([panel, source] {
            panel->loadMovieChapters(source);
            panel->circleChartView()->loadMovieChapters(source);
        });
    } else {
        updateFrameDisplay(false);
    }
    return true;
}

void ItemPlayback::chapterRead()
{
    MoviePlayerView &player = _parts.player;
    const auto &valueInfo = player.valueInfo();
    if (valueInfo && valueInfo->refreshTimeline())
        player.timelineRefreshed();
    // The panel follows the position, which stayed on its picture.
    if (_frames.refreshTimeline() && valueInfo) {
        if (DrivingInfoView *panel = _parts.panel ? _parts.panel() : nullptr)
            panel->timelineRefreshed(static_cast<int>(valueInfo->currentValue()));
    }
    if (StopWatchPanel *stopWatch = _parts.stopWatch ? _parts.stopWatch() : nullptr)
        stopWatch->refreshTimeline();
}

bool ItemPlayback::playEventItem(int index, bool switchTab)
{
    return playProtectItem(index, switchTab, Protect::Event);
}

bool ItemPlayback::playSurveillanceItem(int index, bool switchTab)
{
    return playProtectItem(index, switchTab, Protect::Surveillance);
}

bool ItemPlayback::playProtectItem(int index, bool switchTab, Protect kind)
{
    VideoListModel &model = *_parts.list.model();
    const bool event = kind == Protect::Event;
    const auto &list = event ? model.eventList() : model.surveillanceList();
    const ListType type = event ? ListType::Event : ListType::Surveillance;
    if (model.isSelectRowChanging || index < 0 || index >= static_cast<int>(list.size()))
        return false;
    if (!beginChange(index, type, switchTab, true))
        return false;
    const int row = model.currentRow(type);
    if (row < 0 || row >= static_cast<int>(list.size()))
        return giveUp();
    const std::shared_ptr<MoveProtectInfo> record = list[static_cast<size_t>(row)];
    const std::shared_ptr<CardData> card = _parts.card();
    const EventClip clip = event ? card->getEventChapters(*record) : card->getSurveillanceChapters(*record);
    if (!clip.chapters) {
        _hooks.showFileNotFound();
        return giveUp();
    }
    const ChapterList &chapters = *clip.chapters;
    if (chapters.empty()) {
        unreadable();
        return false;
    }
    if (!TripData::moviesExist(chapters)) {
        _hooks.showFileNotFound();
        return giveUp();
    }
    for (const auto &chapter : chapters) {
        const auto picture = chapter->getPicture(true);
        if (!picture || !picture->video || picture->video->_fileVersion != QLatin1String(kVersion)) {
            unreadable();
            return false;
        }
    }
    card->_activeType = CardData::ActiveType::EventRec;
    MoviePlayerView &player = _parts.player;
    player.setEventMovie(*card, record);
    if (!TripData::moviesExist(chapters)) {
        giveUp();
        _hooks.showFileNotFound();
        return false;
    }
    if (player.autoPlay())
        player.playMovie();
    else
        player.stopMovie();
    model.isSelectRowChanging = false;

    // Only the frames of the clip's window, and only those with a position; drawn even when empty.
    for (const VideoFrame &frame :
         RouteFrameCollection::collectMovieFrames(chapters, narrow(clip.start), narrow(clip.end))) {
        if (frame._latitude != 0 || frame._longitude != 0)
            _parts.map.appendPolyPoint(KmlUtil::degrees(frame._latitude), KmlUtil::degrees(frame._longitude));
    }
    _parts.map.drawPolyline();
    if (_hooks.neighbours)
        _hooks.neighbours(index >= 1, index < static_cast<int>(list.size()) - 1);
    if (StopWatchPanel *stopWatch = _parts.stopWatch ? _parts.stopWatch() : nullptr;
        stopWatch && stopWatch->isLoaded())
        stopWatch->setEventChapters(*card, *list[static_cast<size_t>(index)]);
    player.updateDatetimeLabel();
    if (DrivingInfoView *panel = _parts.panel ? _parts.panel() : nullptr) {
        loadPanels([panel, card, record] {
            panel->loadEventChapters(*card, *record);
            panel->circleChartView()->loadEventChapters(*card, *record);
        });
    } else {
        updateFrameDisplay(false);
    }
    return true;
}

bool ItemPlayback::listRowSelected(ListType type, int row)
{
    VideoListModel &model = *_parts.list.model();
    bool played = false;
    switch (type) {
    case ListType::Trip:
        played = playTripItem(row, 0, false, true);
        break;
    case ListType::Event:
        played = playEventItem(row, false);
        break;
    case ListType::Surveillance:
        played = playSurveillanceItem(row, false);
        break;
    case ListType::TripChapter:
    case ListType::AdvChapter: {
        const bool trip = type == ListType::TripChapter;
        int item = trip ? model.currentRowTrip() : model.currentRowAdventure();
        if (trip && item < 0)
            item = model.workRowTrip();
        const auto chapters = trip ? model.selectedTripChapters() : model.selectedAdventureChapters();
        if (row >= 0 && row < static_cast<int>(chapters.size())) {
            selectListItem(type, item, row, false);
            played = true;
        }
        break;
    }
    default:
        played = playAdventureItem(row, 0, false);
        break;
    }
    if (_hooks.updateWindowTitle)
        _hooks.updateWindowTitle();
    return played;
}

void ItemPlayback::selectListItem(ListType type, int row, int chapterIndex, bool switchTab)
{
    VideoListModel &model = *_parts.list.model();
    switch (type) {
    case ListType::Event:
        if (_parts.list.selectRow(row, ListType::Event, switchTab) && row >= 0 &&
            row < static_cast<int>(model.eventList().size()))
            playEventItem(row, switchTab);
        return;
    case ListType::Surveillance:
        if (row >= 0 && row < static_cast<int>(model.surveillanceList().size()))
            playSurveillanceItem(row, switchTab);
        return;
    case ListType::TripChapter:
    case ListType::AdvChapter:
        selectChapterOf(type, row, chapterIndex, switchTab);
        return;
    default:
        return;
    }
}

void ItemPlayback::selectChapterOf(ListType type, int row, int chapterIndex, bool switchTab)
{
    VideoListModel &model = *_parts.list.model();
    const bool trip = type == ListType::TripChapter;
    const auto &items = trip ? model.tripData() : model.adventureData();
    if (row < 0 || row >= static_cast<int>(items.size()))
        return;
    MoviePlayerView &player = _parts.player;
    const auto &valueInfo = player.valueInfo();
    const CommonConst::PlayType wanted =
        trip ? CommonConst::PlayType::Movie : CommonConst::PlayType::Adventure;
    const bool playing = valueInfo && valueInfo->playType() == wanted &&
                         valueInfo->chapterDataList() == items[static_cast<size_t>(row)]->sortedChapters();
    if (playing) {
        // The item playing: move within it and keep playing or paused as it was.
        const int32_t position = PictureDataUtil::getPosition(valueInfo->timeline(), chapterIndex, 0);
        player.moveToPosition(position,
                              isPlayerReady() ? player.currentStatus() : CommonConst::PlayStatus::NotReady);
        updateFrameDisplay(false);
    } else if (!(trip ? playTripItem(row, chapterIndex, switchTab, true)
                      : playAdventureItem(row, chapterIndex, switchTab))) {
        return;
    }
    if (player.valueInfo())
        _parts.list.selectRow(static_cast<int>(player.valueInfo()->currentIndex()), type, switchTab);
}

void ItemPlayback::playNeighbour(int step)
{
    bool &loading = _hooks.loading();
    const bool wasLoading = std::exchange(loading, true);
    VideoListModel &model = *_parts.list.model();
    const auto &valueInfo = _parts.player.valueInfo();
    const CommonConst::PlayType type = valueInfo ? valueInfo->playType() : CommonConst::PlayType::Event;
    using PT = CommonConst::PlayType;
    int count = 0;
    ListType list = ListType::Event;
    switch (type) {
    case PT::Movie:
        list = ListType::Trip;
        count = static_cast<int>(model.tripData().size());
        break;
    case PT::Surveillance:
        list = ListType::Surveillance;
        count = static_cast<int>(model.surveillanceList().size());
        break;
    case PT::Adventure:
        list = ListType::Adventure;
        count = static_cast<int>(model.adventureData().size());
        break;
    default:
        count = static_cast<int>(model.eventList().size());
        break;
    }
    const int target = model.currentRow(list) + step;
    if (target >= 0 && (step < 0 || target < count)) {
        switch (list) {
        case ListType::Trip:
            playTripItem(target, 0, false, true);
            break;
        case ListType::Surveillance:
            playSurveillanceItem(target, false);
            break;
        case ListType::Adventure:
            playAdventureItem(target, 0, false);
            break;
        default:
            playEventItem(target, false);
            break;
        }
    }
    if (_hooks.updateWindowTitle)
        _hooks.updateWindowTitle();
    model.reloadTableData();
    loading = wasLoading;
}

bool ItemPlayback::isPlayerReady() const
{
    return FrameFollower::isPlayerReady(_parts.player);
}

bool ItemPlayback::syncChapterSelection()
{
    bool &loading = _hooks.loading();
    const bool wasLoading = std::exchange(loading, true);
    MoviePlayerView &player = _parts.player;
    if (isPlayerReady() && player.currentStatus() != CommonConst::PlayStatus::NotReady &&
        player.valueInfo()) {
        VideoListModel &model = *_parts.list.model();
        const int64_t index = player.valueInfo()->currentIndex();
        const CommonConst::PlayType type = player.valueInfo()->playType();
        if (type == CommonConst::PlayType::Movie || type == CommonConst::PlayType::Adventure) {
            const bool trip = type == CommonConst::PlayType::Movie;
            const auto chapters = trip ? model.selectedTripChapters() : model.selectedAdventureChapters();
            const ListType list = trip ? ListType::TripChapter : ListType::AdvChapter;
            if (index >= 0 && index < static_cast<int64_t>(chapters.size()) &&
                index != model.currentRow(list))
                _parts.list.selectRow(static_cast<int>(index), list, false);
        }
        updateFrameDisplay(false);
    }
    if (_hooks.updateWindowTitle)
        _hooks.updateWindowTitle();
    loading = wasLoading;
    return wasLoading;
}

void ItemPlayback::moviePlayerNotify(int code)
{
    switch (code) {
    case 1:
    case 2:
        syncChapterSelection();
        return;
    case 3:
        playPreviousItem();
        return;
    case 4:
        playNextItem();
        return;
    case 5:
        return;
    case 7:
        if (_hooks.stopMeasurement)
            _hooks.stopMeasurement();
        if (_parts.player.trackCell()->selectFrame() && _hooks.leaveTrimMode)
            _hooks.leaveTrimMode();
        return;
    default:
        updateFrameDisplay(false);
        return;
    }
}

void ItemPlayback::updateFrameWithStopWatch()
{
    _frames.updateFrameWithStopWatch(_parts.stopWatch ? _parts.stopWatch() : nullptr);
}

void ItemPlayback::updateFrameDisplay(bool playing)
{
    _frames.updateFrameDisplay(playing);
}
