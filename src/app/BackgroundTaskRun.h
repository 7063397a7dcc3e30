// A long piece of work on a thread of its own behind the task progress window. The window is
// application-modal, so the user changes nothing the work uses, and the run waits for the work in a local
// event loop, so every window goes on answering: repaints, the timers, the progress window's buttons.
#pragma once

#include "platform/WorkControl.h"

#include <QString>
#include <functional>

class QWidget;

class BackgroundTaskRun
{
public:
    using Work = std::function<void(const WorkControl &control)>;

    // setChildWindowsTopMost lowers the floating windows while the progress window is up.
    BackgroundTaskRun(QWidget *parent, std::function<void(bool topMost)> setChildWindowsTopMost);

    // Shows the progress window with the title as its title and task text, runs the work and returns once
    // it has ended, the window gone. The window's Cancel and close button stop the work through its
    // control; the steps it reports move the bar.
    void run(const QString &title, const Work &work);

private:
    QWidget *_parent;
    std::function<void(bool)> _setChildWindowsTopMost;
};
