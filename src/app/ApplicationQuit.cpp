#include "app/ApplicationQuit.h"

#include "app/ChildWindows.h"

#include <QCoreApplication>
#include <QWidget>

ApplicationQuit::ApplicationQuit(QWidget &window, ChildWindows &childWindows, QuitConfirmation confirmation)
    : _window(&window), _childWindows(childWindows), _confirmation(std::move(confirmation))
{
}

bool ApplicationQuit::confirmTerminate()
{
    return _confirmation.confirmTerminate(_window);
}

void ApplicationQuit::requestQuit()
{
    if (_quitConfirmed || !confirmTerminate())
        return;
    _quitConfirmed = true;
    _childWindows.hideAll();
    // exit, not quit: the windows' close handlers would ask again.
    QCoreApplication::exit(0);
}

void ApplicationQuit::requestQuitLater()
{
    // The window owns this object: while it lives, so does this.
    QPointer<QWidget> window = _window;
    QMetaObject::invokeMethod(
        window,
        [this, window] {
            if (window)
                requestQuit();
        },
        Qt::QueuedConnection);
}

bool ApplicationQuit::closeRequested()
{
    // Closing the main window quits: on Linux a program without a window cannot be reached again.
    if (!_quitConfirmed)
        requestQuit();
    return _quitConfirmed;
}
