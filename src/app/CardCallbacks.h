// The card library's hand-offs while its workers run: a new still refreshes the rows that show the
// chapter (in place, no whole reload), new driving data redraws the selected trip's route and puts the
// markers that waited for it. Each hand-off reads no recording: the chapter's outline holds what it needs.
#pragma once

#include "card/CardDataDelegate.h"

#include <functional>

class TripData;
class VideoListModel;

class CardCallbacks : public CardDataDelegate
{
public:
    // redrawTripRoute: the map's route of the trip brought up to date; chapterRead: the chapter's
    // driving data is there now (the list's markers).
    CardCallbacks(VideoListModel &list, std::function<void(TripData &)> redrawTripRoute,
                  std::function<void(ChapterData &)> chapterRead = {});

    // The trip whose route the map draws: the list's current trip, else its work trip; none
    // without either.
    TripData *routeTrip() const;

    void chapterDataUpdated(ChapterData &chapter) override;
    void redrawRoute(ChapterData &chapter) override;

private:
    VideoListModel &_list;
    std::function<void(TripData &)> _redrawTripRoute;
    std::function<void(ChapterData &)> _chapterRead;
};
