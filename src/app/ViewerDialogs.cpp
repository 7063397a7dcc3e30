#include "app/ViewerDialogs.h"

#include "app/AppAboutDialog.h"
#include "app/DialogInUseLock.h"
#include "app/ModalRunner.h"
#include "app/UpdateCheck.h"
#include "maintenance/MessagePrompter.h"
#include "maintenance/ViewerSettingDialog.h"
#include "recording/UserDefaultUtil.h"

ViewerDialogs::ViewerDialogs(Parts parts) : _parts(std::move(parts)), _appAboutDialog(new AppAboutDialog)
{
    _appAboutDialog->setParent(&_parts.window, _appAboutDialog->windowFlags());
}

ViewerDialogs::~ViewerDialogs() = default;

void ViewerDialogs::showAboutDialog()
{
    _parts.pauseForCommand();
    _parts.modalRunner.run(ModalWindow::Type::Etc, _appAboutDialog, AppAboutDialog::windowTitleText(),
                           QSize(487, 407));
}

void ViewerDialogs::showViewerSettingDialog()
{
    _parts.pauseForCommand();
    const DialogInUseLock::Hold hold =
        _parts.inUseLock().acquire(QString::fromLatin1(UserDefaultUtil::KEY_VIEWER_SETTING_FLG));
    if (!hold) {
        // Lowered as around the other guarded commands' warning, so it cannot open under them.
        _parts.setChildWindowsTopMost(false);
        _parts.prompter.warn(&_parts.window, hold.refusal().text, hold.refusal().cause);
        _parts.setChildWindowsTopMost(true);
        return;
    }
    ViewerSettingDialog dialog(_parts.settings, &_parts.restarter, _parts.prompter);
    _parts.modalRunner.run(ModalWindow::Type::ViewerSetting, &dialog, tr("Viewer Settings"), QSize(575, 540));
}

void ViewerDialogs::openDownloadPage()
{
    _parts.pauseForCommand();
    const QUrl url = UpdateCheck::downloadPageUrl(_parts.settings.language);
    if (url.isValid())
        _parts.openUrl(url);
}

void ViewerDialogs::firstLaunch()
{
    _parts.settings.viewerFirstLaunch = true;
    _parts.settings.setValue(QString::fromLatin1(UserDefaultUtil::KEY_VIEWER_FIRST_LAUNCH), true);
    ViewerSettingDialog dialog(_parts.settings, &_parts.restarter, _parts.prompter);
    _parts.modalRunner.run(ModalWindow::Type::ViewerSetting, &dialog, tr("Viewer Settings"), QSize(575, 540));
}

void ViewerDialogs::checkForUpdate(const QUrl &server)
{
    _updateCheck = std::make_unique<UpdateCheck>(server);
    QObject::connect(_updateCheck.get(), &UpdateCheck::newerVersionAvailable, &_parts.window,
                     [this] { announceNewerVersion(); });
    _updateCheck->checkUpdate(QCoreApplication::applicationVersion());
}

void ViewerDialogs::announceNewerVersion()
{
    _parts.setChildWindowsTopMost(false);
    _parts.prompter.announce(&_parts.window, UpdateCheck::announcementTitle(),
                             UpdateCheck::announcementText());
    _parts.setChildWindowsTopMost(true);
}
