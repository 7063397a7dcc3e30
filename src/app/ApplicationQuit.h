// Quitting from the main window: the Quit command, the window's close button and a restart after a
// settings change all ask once (QuitConfirmation), then take the child windows off the screen and end the
// event loop.
#pragma once

#include "app/QuitConfirmation.h"

#include <QPointer>

class ChildWindows;
class QWidget;

class ApplicationQuit
{
public:
    ApplicationQuit(QWidget &window, ChildWindows &childWindows, QuitConfirmation confirmation);

    // True when the application may end; asks when a recording is loaded.
    bool confirmTerminate();
    // Asks, unless that was done already, then quits.
    void requestQuit();
    // The same from the event loop, once the modal run that asked for it has ended.
    void requestQuitLater();
    // The window's close: true when it may close, having quit.
    bool closeRequested();

    bool isQuitConfirmed() const { return _quitConfirmed; }

private:
    QPointer<QWidget> _window;
    ChildWindows &_childWindows;
    QuitConfirmation _confirmation;
    bool _quitConfirmed = false; // the question was answered; the close that follows is not asked
};
