#include "app/ModalWindow.h"
#include "app/ModalWindowDelegate.h"
#include "app/TaskProgressDialog.h"
#include "app/TaskProgressWindow.h"
#include "app/TrimProgressPrompts.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
using Type = ModalWindow::Type;

struct CountingDelegate : ModalWindowDelegate
{
    int closing = 0;
    void modalWindowClosing() override { ++closing; }
};

struct Row
{
    Type type;
    bool escapeEnds;
    const char *flag; // released by the close button, or null
    bool emptiesContent;
    bool asksDelegate; // the close button leaves the run to the delegate
    bool keepsPlace;   // not centred
};

// Return and Enter as the keyboard sends them: to the focused control of the active window.
void pressReturnAndEnter(QWidget *window)
{
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused && focused->window() == window ? focused : window, key);
    }
}

const Row rows[] = {
    {Type::OpenForm, true, nullptr, false, false, false},
    {Type::ViewerSetting, false, UserDefaultUtil::KEY_VIEWER_SETTING_FLG, false, false, false},
    {Type::CameraSetting, false, UserDefaultUtil::KEY_CAMERA_SETTING_FLG, true, false, false},
    {Type::BackupDelete, false, UserDefaultUtil::KEY_BACKUP_DELETE_FLG, false, false, false},
    {Type::TaskProgress, false, nullptr, false, true, false},
    {Type::BackupSetting, false, UserDefaultUtil::KEY_BACKUP_SETTING_FLG, true, false, false},
    {Type::Trim, true, nullptr, false, true, true},
    {Type::Capture, true, nullptr, false, false, true},
    {Type::Etc, false, nullptr, false, false, false},
};
} // namespace

TEST(ModalWindowTest, EscapeCloseButtonAndPlaceFollowTheWindowType)
{
    TempDir dir;
    UserDefaultUtil store(dir.filePath("s.conf"));
    for (const Row &row : rows) {
        SCOPED_TRACE(static_cast<int>(row.type));
        {
            ModalWindow window(&store);
            window.setType(row.type);
            window.show();
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &escape);
            EXPECT_EQ(!window.isVisible(), row.escapeEnds);
        }
        for (const bool withDelegate : {false, true}) {
            CountingDelegate delegate;
            ModalWindow window(&store);
            window.setType(row.type);
            if (withDelegate)
                window.setMwDelegate(&delegate);
            auto *view = new QWidget;
            window.setContentView(view);
            if (row.flag)
                store.setFlag(row.flag, true);
            window.show();
            window.close();
            const bool asked = withDelegate && row.asksDelegate;
            EXPECT_EQ(window.isVisible(), asked) << "without a delegate every close button ends the run";
            EXPECT_EQ(delegate.closing, asked ? 1 : 0);
            EXPECT_FALSE(row.flag && store.flag(row.flag));
            EXPECT_EQ(window.contentView() != view, row.emptiesContent);
            if (row.emptiesContent) {
                EXPECT_EQ(view->parent(), nullptr) << "the dialog's view is handed back";
                delete view;
            }
            window.move(13, 17);
            window.center();
            EXPECT_EQ(window.pos() == QPoint(13, 17), row.keepsPlace);
        }
    }
}

TEST(TaskProgressDialogTest, FirstTickAtStartThenDotsCycleWithoutPilingUp)
{
    std::int64_t nowMs = 5000;
    TaskProgressDialog dialog([&] { return nowMs; });
    dialog.setTaskMode(TaskMode::Trim);
    dialog.startProgress();
    EXPECT_EQ(dialog.txtComment()->text(), QStringLiteral("Trimming video file.."));
    EXPECT_TRUE(dialog.txtElapsedTime()->text().endsWith(QStringLiteral("：00:00:00")));

    std::vector<int> dots;
    for (int tick = 0; tick < 12; ++tick) {
        nowMs += 1000;
        dialog.timeUpdateWithTimer();
        dots.push_back(static_cast<int>(dialog.txtComment()->text().count(QLatin1Char('.'))));
        EXPECT_TRUE(dialog.txtComment()->text().startsWith(QStringLiteral("Trimming video file")));
    }
    EXPECT_EQ(dots, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 2, 3}));
    nowMs += 360000000 - 12000 + 999;
    dialog.timeUpdateWithTimer();
    EXPECT_TRUE(dialog.txtElapsedTime()->text().endsWith(QStringLiteral("：100:00:00")));
}

TEST(TaskProgressWindowTest, AJobsWindowShowsWithoutWaitingCancelsByItsCloseButtonAndEndsWithItsMessage)
{
    using M = TaskProgress::Mode;
    const std::tuple<M, bool, QString, QString> rows[] = {
        {M::Backup, false, "Backing up files..", "Save completed."},
        {M::Backup, true, "Backing up files..", "Backup cancelled."},
        {M::Cleanup, false, "Delete file..", "Delete completed."},
        {M::Cleanup, true, "Delete file..", "Delete cancelled."},
    };
    for (const auto &[mode, cancelled, comment, message] : rows) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        QStringList log;
        TaskProgressWindow progress(&settings, nullptr, [&log](bool on) { log << (on ? "raise" : "lower"); });
        progress.dialog().informationAlert = [&log](const QString &text) { log << text; };
        progress.start(mode, "Back up");
        EXPECT_TRUE(progress.window().isVisible());
        EXPECT_EQ(progress.window().windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(progress.dialog().txtComment()->text(), comment);
        progress.setProgress(std::numeric_limits<double>::quiet_NaN(), "–");
        EXPECT_EQ(progress.dialog().progressBar()->value(), 0);
        progress.setProgress(66.0, "66％");
        EXPECT_EQ(progress.dialog().progressBar()->value(), 66);
        if (cancelled)
            progress.window().closeButtonPressed();
        EXPECT_EQ(progress.cancelFlag().load(), cancelled);
        EXPECT_TRUE(progress.window().isVisible()) << "the job ends the window, not the close button";
        progress.finish(cancelled);
        EXPECT_FALSE(progress.window().isVisible());
        EXPECT_EQ(log, (QStringList{"lower", message, "raise"}));
    }
}

TEST(TrimProgressPromptsTest, TheTrimsProgressIsTheTaskWindowWhoseCancelAndCloseButtonStopTheJob)
{
    for (const bool viaCloseButton : {false, true}) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        TrimProgressPrompts prompts(settings, nullptr);
        int cancels = 0;
        prompts.openProgress("Trim Tool", [&] {
            ++cancels;
            prompts.closeProgress(); // as the tool does once its job has stopped
        });
        auto *window = qobject_cast<ModalWindow *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->type(), ModalWindow::Type::TaskProgress);
        prompts.setProgress(250.0, "99%");
        EXPECT_EQ(window->findChild<QProgressBar *>()->value(), 100);
        if (viaCloseButton)
            window->closeButtonPressed();
        else
            window->findChild<QPushButton *>()->click();
        EXPECT_EQ(cancels, 1);
        EXPECT_FALSE(window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The alert that ends a trim ("Saved", or the failure) stops the elapsed time where the job ended: it does
// not count on behind the alert.
TEST(TrimProgressPromptsTest, TheEndAlertStopsTheElapsedTime)
{
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.ini"));
    TrimProgressPrompts prompts(settings, nullptr);
    prompts.openProgress("Trim Tool", {});
    auto *window = qobject_cast<ModalWindow *>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    QLabel *elapsed = nullptr;
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->text().startsWith("elapsed time"))
            elapsed = label;
    ASSERT_NE(elapsed, nullptr);
    const QString shown = elapsed->text();
    // The alert stays up for more than a tick.
    QTimer::singleShot(1500, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->reject();
    });
    prompts.showAlert(TrimPrompts::Style::Informational, "Information", "Saved");
    EXPECT_EQ(elapsed->text().toStdString(), shown.toStdString());
    prompts.closeProgress();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A progress window's only button is Cancel, and a dialog's buttons take Return by themselves: Return must
// not stop the backup, delete or trim that runs behind it. Only a click on Cancel or the close button does.
TEST(TaskProgressWindowTest, ReturnInARunningJobsProgressWindowLeavesTheJobRunning)
{
    using M = TaskProgress::Mode;
    for (const M mode : {M::Backup, M::Cleanup}) {
        SCOPED_TRACE(int(mode));
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        TaskProgressWindow progress(&settings, nullptr, {});
        progress.dialog().informationAlert = [](const QString &) {};
        progress.start(mode, "Back up");
        pressReturnAndEnter(&progress.window());
        EXPECT_FALSE(progress.cancelFlag().load());
        EXPECT_TRUE(progress.window().isVisible());
        progress.finish(false);
    }
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.ini"));
    TrimProgressPrompts prompts(settings, nullptr);
    int cancels = 0;
    prompts.openProgress("Trim Tool", [&] { ++cancels; });
    auto *window = qobject_cast<ModalWindow *>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    pressReturnAndEnter(window);
    EXPECT_EQ(cancels, 0);
    EXPECT_TRUE(window->isVisible());
    window->findChild<QPushButton *>()->click();
    EXPECT_EQ(cancels, 1) << "the button itself still stops the job";
    prompts.closeProgress();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
