// How the trim tool and the tool panel end a trim run on the main thread: one alert for a saved clip
// or a failure, the progress window closed, the tool window told of a saved clip. A run the user
// cancelled ends silently (the cancel already told the window).
#pragma once

#include "videotools/TrimWorker.h"

#include <QString>
#include <functional>

class ToolViewDelegate;
class TrimPrompts;

struct TrimEndReport
{
    QString infoTitle, infoMessage, warningTitle, errorMessage;

    // showFullProgress puts the bar at a forced 100 % before the "Saved" alert; reason is the failure's
    // cause, shown with the alert.
    void finish(TrimPrompts &prompts, ToolViewDelegate *delegate, bool cancelled, TrimWorker::Result result,
                const QString &reason, const std::function<void()> &showFullProgress) const;
};
