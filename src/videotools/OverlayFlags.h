// Which driving data a clip or still carries as text: the trim and capture tools' four check boxes.
#pragma once

struct OverlayFlags
{
    bool isDatetime = false;
    bool isSpeed = false;
    bool isAcceleration = false;
    bool isPoint = false;

    bool any() const { return isDatetime || isSpeed || isAcceleration || isPoint; }
    bool operator==(const OverlayFlags &) const = default;
};
