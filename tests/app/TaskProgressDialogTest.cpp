#include "app/TaskProgressDialog.h"
#include "app/ModalWindow.h"
#include "app/TaskProgressDialogDelegate.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {
struct Owner : TaskProgressDialogDelegate
{
    int closed = 0;
    void taskProgressDialogOnClose() override { ++closed; }
};
} // namespace

TEST(TaskProgressDialogTest, ElapsedTimeText)
{
    const std::pair<double, const char *> cases[] = {
        {0.0, "00:00:00"}, {59.99, "00:00:59"}, {3661.0, "01:01:01"}, {360000.0, "100:00:00"}};
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(TaskProgressDialog::elapsedText(seconds), QString::fromLatin1(text)) << seconds;
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
    nowMs += 3661000 - 12000;
    dialog.timeUpdateWithTimer();
    EXPECT_TRUE(dialog.txtElapsedTime()->text().endsWith(QStringLiteral("01:01:01")));
}

TEST(TaskProgressDialogTest, CancelCallsTheOwnerOnlyWhenTrimming)
{
    for (TaskMode mode : {TaskMode::Backup, TaskMode::Cleanup, TaskMode::Trim}) {
        Owner owner;
        TaskProgressDialog dialog;
        dialog.setTaskMode(mode);
        dialog.setDelegate(&owner);
        dialog.startProgress();
        // The window's close button acts as Cancel and leaves the run to the owner.
        ModalWindow window(nullptr);
        window.setType(ModalWindow::Type::TaskProgress);
        window.setMwDelegate(&dialog);
        window.show();
        window.close();
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(dialog.cancelFlg());
        EXPECT_EQ(owner.closed, mode == TaskMode::Trim ? 1 : 0);
    }
}

TEST(TaskProgressDialogTest, EachCompletionAlertTellsTheOwnerAfterwards)
{
    Owner owner;
    TaskProgressDialog dialog;
    dialog.setDelegate(&owner);
    QStringList shown;
    dialog.informationAlert = [&](const QString &text) {
        EXPECT_EQ(owner.closed, shown.size()) << "the owner hears of it after the alert";
        shown << text;
    };
    dialog.showSaveCompleted();
    dialog.showBackupCancelled();
    dialog.showDeleteCompleted();
    dialog.showDeleteCancelled();
    EXPECT_EQ(shown, (QStringList{"Save completed.", "Backup cancelled.", "Delete completed.",
                                  "Delete cancelled."}));
    EXPECT_EQ(owner.closed, 4);
}
