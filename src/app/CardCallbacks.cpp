#include "app/CardCallbacks.h"

#include "app/VideoListModel.h"
#include "card/ChapterData.h"
#include "card/ChapterOutline.h"
#include "card/TripData.h"

#include <algorithm>

CardCallbacks::CardCallbacks(VideoListModel &list, std::function<void(TripData &)> redrawTripRoute,
                             std::function<void(ChapterData &)> chapterRead)
    : _list(list), _redrawTripRoute(std::move(redrawTripRoute)), _chapterRead(std::move(chapterRead))
{
}

void CardCallbacks::chapterDataUpdated(ChapterData &chapter)
{
    _list.chapterDataUpdated(chapter);
}

void CardCallbacks::redrawRoute(ChapterData &chapter)
{
    // A trimmed clip's frame carries burnt-in text: its still is made again without it.
    if (const auto outline = chapter.outline(); outline && outline->isCutVideo)
        chapter.setPathThumbnail(std::nullopt);
    if (_chapterRead)
        _chapterRead(chapter);
    TripData *trip = routeTrip();
    if (!trip)
        return;
    const std::vector<std::shared_ptr<ChapterData>> chapters = _list.selectedTripChapters();
    const bool selected =
        std::any_of(chapters.begin(), chapters.end(),
                    [&chapter](const std::shared_ptr<ChapterData> &c) { return c.get() == &chapter; });
    if (selected && _redrawTripRoute)
        _redrawTripRoute(*trip);
}

TripData *CardCallbacks::routeTrip() const
{
    const int tripRow = _list.currentRowTrip() >= 0 ? _list.currentRowTrip() : _list.workRowTrip();
    if (tripRow < 0 || tripRow >= static_cast<int>(_list.tripData().size()))
        return nullptr;
    return _list.tripData()[tripRow].get();
}
