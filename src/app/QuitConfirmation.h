// Whether the application may quit: with a recording loaded it pauses and asks first. Either way the
// viewer state is saved before the answer is yes; a "Cancel" also drops a pending restart.
#pragma once

#include <QCoreApplication>
#include <functional>

class MessagePrompter;
class QWidget;
class UserDefaultUtil;

class QuitConfirmation
{
    Q_DECLARE_TR_FUNCTIONS(QuitConfirmation)
public:
    struct Hooks
    {
        std::function<bool()> isPlayerActive; // an item is loaded and ready in the player
        std::function<void()> pauseMovie;
        std::function<bool()> saveViewerState;
        std::function<void(bool topMost)> setChildWindowsTopMost;
    };

    QuitConfirmation(UserDefaultUtil &settings, MessagePrompter &prompter, Hooks hooks);

    // True: terminate now. False: the user cancelled; the recording stays paused.
    bool confirmTerminate(QWidget *parent);

    static QString questionText();

private:
    UserDefaultUtil &_settings;
    MessagePrompter &_prompter;
    Hooks _hooks;
};
