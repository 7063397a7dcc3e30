// What the map page last reported about itself through the web channel; the bridge answers
// its getters from this copy instead of waiting for a script result.
#pragma once

#include <QString>
#include <optional>

struct MapPageState
{
    std::optional<int> zoom; // none until the page has reported
    QString mapTypeId;       // empty until the page has reported
    std::optional<bool> dispBalloon;
    QString mapVersion; // empty until the page has reported
};
