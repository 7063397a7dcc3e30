#include "app/TaskProgressWindow.h"
#include "app/ModalWindow.h"
#include "app/TaskProgressDialog.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

TEST(TaskProgressWindowTest, AJobsWindowShowsWithoutWaitingCancelsByItsCloseButtonAndEndsWithItsMessage)
{
    struct Row
    {
        TaskProgress::Mode mode;
        bool cancelled;
        QString comment;
        QString message;
    };
    const Row rows[] = {
        {TaskProgress::Mode::Backup, false, "Backing up files..", "Save completed."},
        {TaskProgress::Mode::Backup, true, "Backing up files..", "Backup cancelled."},
        {TaskProgress::Mode::Cleanup, false, "Delete file..", "Delete completed."},
        {TaskProgress::Mode::Cleanup, true, "Delete file..", "Delete cancelled."},
    };
    for (const Row &row : rows) {
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.ini"));
        QStringList log;
        TaskProgressWindow progress(settings, nullptr, [&log](bool on) { log << (on ? "raise" : "lower"); });
        progress.dialog().informationAlert = [&log](const QString &text) { log << text; };
        progress.start(row.mode, "Back up");
        EXPECT_TRUE(progress.window().isVisible());
        EXPECT_EQ(progress.window().windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(progress.dialog().txtComment()->text(), row.comment);
        progress.setProgress(std::numeric_limits<double>::quiet_NaN(), "–");
        EXPECT_EQ(progress.dialog().progressBar()->value(), 0);
        progress.setProgress(66.0, "66％");
        EXPECT_EQ(progress.dialog().progressBar()->value(), 66);
        if (row.cancelled)
            progress.window().closeButtonPressed();
        EXPECT_EQ(progress.cancelFlag().load(), row.cancelled);
        EXPECT_TRUE(progress.window().isVisible()) << "the job ends the window, not the close button";
        progress.finish(row.cancelled);
        EXPECT_FALSE(progress.window().isVisible());
        EXPECT_EQ(log, (QStringList{"lower", row.message, "raise"}));
    }
}
