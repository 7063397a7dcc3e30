// The main window's title: the product name alone, or the kind of recording and the movie being played.
#pragma once

#include "recording/CommonConst.h"

#include <QString>
#include <optional>

class WindowTitle
{
public:
    // moviePath: the current chapter's movie, none when the position lies outside the chapter list;
    // playerActive: an item is loaded and ready in the player.
    static QString text(CommonConst::PlayType playType, const std::optional<QString> &moviePath,
                        bool playerActive);
};
