#include "app/ChildWindows.h"

#include <algorithm>
#include <utility>

namespace {
// A window manager minimises a main window's tool windows with it, and Qt keeps that state in a window
// hidden meanwhile. Shown so, the window would map minimised, and the window manager would minimise its
// main window again along with it: each restore would end minimised.
void showUnminimised(QWidget *window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
}
} // namespace

void ChildWindows::add(QWidget *window)
{
    if (!window)
        return;
    std::erase_if(_entries, [](const Entry &entry) { return entry.window.isNull(); });
    _entries.push_back({window, true, false, false});
    setLevel(window, true);
}

void ChildWindows::setLevel(QWidget *window, bool floating)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == floating)
        return;
    // Changing the flags of a shown window hides it on X11; show it again where it was.
    const bool visible = window->isVisible();
    const QPoint position = window->pos();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, floating);
    if (visible) {
        window->move(position);
        window->show();
    }
}

void ChildWindows::setTopMost(bool topMost)
{
    for (Entry &entry : _entries) {
        if (!entry.window || !entry.window->isVisible())
            continue;
        entry.topMostFlg = topMost;
        setLevel(entry.window, topMost);
    }
}

void ChildWindows::applicationActive(bool active)
{
    for (Entry &entry : _entries) {
        if (!entry.window || !entry.window->isVisible())
            continue;
        // The flag stays, so floating resumes when the application is active again.
        setLevel(entry.window, active && entry.topMostFlg);
    }
}

void ChildWindows::mainWindowMinimised()
{
    for (Entry &entry : _entries) {
        entry.shownBeforeMinimise = entry.window && entry.window->isVisible();
        if (entry.shownBeforeMinimise)
            entry.window->hide();
    }
}

void ChildWindows::mainWindowRestored()
{
    for (Entry &entry : _entries) {
        if (entry.window && entry.shownBeforeMinimise)
            showUnminimised(entry.window);
    }
}

void ChildWindows::hideAll()
{
    for (Entry &entry : _entries) {
        if (entry.window)
            entry.window->hide();
    }
}

void ChildWindows::setFullScreen(bool fullScreen)
{
    for (Entry &entry : _entries) {
        if (!entry.window)
            continue;
        if (fullScreen && entry.window->isVisible()) {
            entry.window->hide();
            entry.hiddenByFullScreen = true;
        } else if (!fullScreen && std::exchange(entry.hiddenByFullScreen, false) &&
                   !entry.window->isVisible()) {
            entry.window->show();
        }
    }
}

void ChildWindows::closed(const QWidget *window)
{
    for (Entry &entry : _entries) {
        if (entry.window == window)
            entry.shownBeforeMinimise = entry.hiddenByFullScreen = false;
    }
}

bool ChildWindows::isTopMost(const QWidget *window) const
{
    const auto it = std::find_if(_entries.begin(), _entries.end(),
                                 [window](const Entry &entry) { return entry.window == window; });
    return it != _entries.end() && it->window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}
