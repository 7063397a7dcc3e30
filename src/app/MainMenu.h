// The main window's menus: one action per command, with desktop shortcuts, enabled by the main
// window's state and by whether the command's handler exists.
#pragma once

#include "app/MenuCommand.h"
#include "app/MenuValidation.h"

#include <QObject>
#include <functional>
#include <map>

class QAction;
class QMenuBar;
class QWidget;

class MainMenu : public QObject
{
    Q_OBJECT
public:
    // Fills the menu bar; state tells the validation what the window holds.
    MainMenu(QMenuBar *menuBar, std::function<MenuValidation::State()> state, QObject *parent = nullptr);

    void setHandler(MenuCommand command, std::function<void()> handler);
    // Enables every action by the current state (also run whenever a menu opens).
    void validate();
    // Runs the command's handler, when it exists and the command is enabled.
    void trigger(MenuCommand command);

    QAction *action(MenuCommand command) const;

private:
    QAction *addAction(class QMenu *menu, MenuCommand command, const QString &text,
                       const QKeySequence &shortcut);

    std::function<MenuValidation::State()> _state;
    // The window that holds the menu bar, which keeps the shortcuts while the bar is hidden.
    QWidget *_window = nullptr;
    std::map<MenuCommand, QAction *> _actions;
    std::map<MenuCommand, std::function<void()>> _handlers;
};
