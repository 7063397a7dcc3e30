// The viewer's own windows that the menu opens: About, Viewer Settings (also once at the first launch), the
// download page in the browser, and the announcement of a newer version that the update check finds.
#pragma once

#include <QCoreApplication>
#include <QUrl>

#include <functional>
#include <memory>

class AppAboutDialog;
class ApplicationRestarter;
class DialogInUseLock;
class MessagePrompter;
class ModalRunner;
class QWidget;
class UpdateCheck;
class UserDefaultUtil;

class ViewerDialogs
{
    Q_DECLARE_TR_FUNCTIONS(ViewerDialogs)
public:
    struct Parts
    {
        QWidget &window; // the main window: the dialogs' parent
        ApplicationRestarter &restarter;
        UserDefaultUtil &settings;
        MessagePrompter &prompter;
        ModalRunner &modalRunner;
        std::function<void()> pauseForCommand;
        std::function<void(bool topMost)> setChildWindowsTopMost;
        std::function<void(const QUrl &)> openUrl;
        std::function<DialogInUseLock &()> inUseLock; // once the window's coordinators exist
    };

    explicit ViewerDialogs(Parts parts);
    ~ViewerDialogs();

    void showAboutDialog();
    void showViewerSettingDialog();
    void openDownloadPage();
    void firstLaunch();
    // The one check of this start, against the support server at server.
    void checkForUpdate(const QUrl &server);

private:
    void announceNewerVersion();

    Parts _parts;
    AppAboutDialog *_appAboutDialog;
    std::unique_ptr<UpdateCheck> _updateCheck;
};
