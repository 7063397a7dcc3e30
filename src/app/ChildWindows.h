// The floating windows the main window owns (the stopwatch and the detached map): kept above other
// windows except around modal runs and while the application is inactive, hidden while the main
// window is minimised or in full screen and shown again when it is restored or leaves full screen.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class ChildWindows
{
public:
    // The window floats from now on; a window that goes away is forgotten.
    void add(QWidget *window);

    // Before (false) and after (true) every modal run: the visible windows stop or start floating.
    void setTopMost(bool topMost);
    // The application lost (false) or regained (true) the focus; a window floats again only when it
    // was floating before.
    void applicationActive(bool active);
    // The main window is minimised: the visible windows are hidden and remembered.
    void mainWindowMinimised();
    // The main window is back: the remembered windows are shown again.
    void mainWindowRestored();
    // The main window closes: every child window goes off the screen.
    void hideAll();
    // Full screen hides the visible windows; leaving it shows again those it hid.
    void setFullScreen(bool fullScreen);
    // The window was closed on purpose: nothing brings it back by itself.
    void closed(const QWidget *window);

    bool isTopMost(const QWidget *window) const;

private:
    struct Entry
    {
        QPointer<QWidget> window;
        bool topMostFlg = true; // floats while the application is active
        bool shownBeforeMinimise = false;
        bool hiddenByFullScreen = false;
    };
    static void setLevel(QWidget *window, bool floating);

    std::vector<Entry> _entries;
};
