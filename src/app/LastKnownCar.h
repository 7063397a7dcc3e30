// The car's place on the map while the playing chapter's frame has none. Finding it walks back over
// the earlier chapters, whose driving data may have to be read again (only the chapters used last
// keep theirs), so it is worked out once per item and chapter instead of on every tick.
#pragma once

#include "app/FrameDisplay.h"

#include <functional>
#include <memory>
#include <optional>

class PlayMovieValueInfo;

class LastKnownCar
{
public:
    using Walk = std::function<std::optional<CarFix>()>;

    // The walk's answer for this item and chapter, walked again only when either changed.
    std::optional<CarFix> at(const std::shared_ptr<PlayMovieValueInfo> &item,
                             const std::shared_ptr<ChapterData> &chapter, const Walk &walk);
    // The next call walks again.
    void forget();

private:
    std::weak_ptr<PlayMovieValueInfo> _item;
    std::weak_ptr<ChapterData> _chapter;
    std::optional<CarFix> _fix;
    bool _isKnown = false;
};
