#include "app/QuitConfirmation.h"

#include "maintenance/MessagePrompter.h"
#include "recording/CommonConst.h"
#include "recording/UserDefaultUtil.h"

QuitConfirmation::QuitConfirmation(UserDefaultUtil &settings, MessagePrompter &prompter, Hooks hooks)
    : _settings(settings), _prompter(prompter), _hooks(std::move(hooks))
{
}

QString QuitConfirmation::questionText()
{
    return tr("This will close %1. Proceed?").arg(CommonConst::FMT_FORM_TITLE_DEFAULT);
}

bool QuitConfirmation::confirmTerminate(QWidget *parent)
{
    if (!_hooks.isPlayerActive || !_hooks.isPlayerActive()) {
        if (_hooks.saveViewerState)
            _hooks.saveViewerState();
        return true;
    }
    if (_hooks.pauseMovie)
        _hooks.pauseMovie();
    if (_hooks.setChildWindowsTopMost)
        _hooks.setChildWindowsTopMost(false);
    const bool ok = _prompter.confirm(parent, questionText());
    if (_hooks.setChildWindowsTopMost)
        _hooks.setChildWindowsTopMost(true);
    if (!ok) {
        _settings.restartFlg = false;
        return false;
    }
    if (_hooks.saveViewerState)
        _hooks.saveViewerState();
    return true;
}
