#include "app/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

MainMenu::MainMenu(QMenuBar *menuBar, std::function<MenuValidation::State()> state, QObject *parent)
    : QObject(parent), _state(std::move(state)),
      _window(menuBar->window() != menuBar ? menuBar->window() : nullptr)
{
    // Linux has no application menu: "About" goes to Help and "Quit" to File, as desktops expect.
    QMenu *file = menuBar->addMenu(tr("&File"));
    addAction(file, MenuCommand::Open, tr("Open"), QKeySequence::Open);
    addAction(file, MenuCommand::SaveAs, tr("Save as"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    addAction(file, MenuCommand::Quit, tr("&Quit"), QKeySequence::Quit);

    QMenu *view = menuBar->addMenu(tr("&View"));
    // F11 on every desktop: the standard full-screen key differs between desktops and is empty on some.
    QAction *fullScreen =
        addAction(view, MenuCommand::FullScreen, tr("Full Screen Display"), QKeySequence(Qt::Key_F11));
    fullScreen->setCheckable(true);

    QMenu *settings = menuBar->addMenu(tr("&Settings"));
    addAction(settings, MenuCommand::ViewerSettings, tr("Viewer Settings"), {});
    addAction(settings, MenuCommand::CameraSettings, tr("Camera Settings"), {});
    addAction(settings, MenuCommand::BackupDirectorySettings, tr("Backup Directory Settings"), {});

    QMenu *backUp = menuBar->addMenu(tr("&Back up"));
    addAction(backUp, MenuCommand::BackUp, tr("Back up"), {});
    addAction(backUp, MenuCommand::Delete, tr("Delete"), {});

    QMenu *help = menuBar->addMenu(tr("&Help"));
    addAction(help, MenuCommand::DownloadUpdates, tr("Download Updates"), {});
    help->addSeparator();
    QAction *about = addAction(help, MenuCommand::About, tr("About Orvalind"), {});
    about->setMenuRole(QAction::AboutRole);

    for (QMenu *menu : {file, view, settings, backUp, help})
        connect(menu, &QMenu::aboutToShow, this, &MainMenu::validate);
    validate();
}

QAction *MainMenu::addAction(QMenu *menu, MenuCommand command, const QString &text,
                             const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(text);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // A shortcut works only while a widget it belongs to is shown: the window keeps it when full
        // screen hides the menu bar.
        if (_window)
            _window->addAction(action);
    }
    connect(action, &QAction::triggered, this, [this, command] { trigger(command); });
    _actions[command] = action;
    return action;
}

void MainMenu::setHandler(MenuCommand command, std::function<void()> handler)
{
    _handlers[command] = std::move(handler);
    validate();
}

void MainMenu::validate()
{
    const MenuValidation::State state = _state ? _state() : MenuValidation::State{};
    for (const auto &[command, action] : _actions)
        action->setEnabled(MenuValidation::isEnabled(command, _handlers.count(command) != 0, state));
}

void MainMenu::trigger(MenuCommand command)
{
    validate();
    const auto handler = _handlers.find(command);
    if (handler == _handlers.end() || !action(command)->isEnabled())
        return;
    // The handler may replace itself (a command that opens a modal run): call a copy.
    const std::function<void()> run = handler->second;
    run();
}

QAction *MainMenu::action(MenuCommand command) const
{
    const auto it = _actions.find(command);
    return it == _actions.end() ? nullptr : it->second;
}
