#include "app/AppAboutDialog.h"
#include "app/StandardModalRunner.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AppAboutDialogTest, OkAndEscapeEndTheStandardRunAndTheLabelShowsTheVersion)
{
    QCoreApplication::setApplicationVersion("2.10.3");
    TempDir dir;
    UserDefaultUtil flags(dir.filePath("s.conf"));
    QWidget main;
    QStringList topMost;
    StandardModalRunner runner(flags, &main, [&](bool on) { topMost << (on ? "up" : "down"); });
    AppAboutDialog about;
    EXPECT_EQ(about.lblAppVersion()->text(), "2.10.3");

    const std::function<void(QWidget *)> ways[] = {
        [&](QWidget *) { about.okBtn()->click(); },
        [&](QWidget *focus) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(focus, &escape);
        },
    };
    for (const auto &endRun : ways) {
        std::function<void()> whenShown = [&] {
            if (!QApplication::activeModalWidget() || !about.isVisible()) {
                QTimer::singleShot(10, whenShown);
                return;
            }
            endRun(about.okBtn());
        };
        QTimer::singleShot(0, whenShown);
        runner.run(ModalWindow::Type::Etc, &about, AppAboutDialog::windowTitleText());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(about.parent(), nullptr) << "the same dialog serves the next run";
    }
    EXPECT_EQ(topMost, QStringList({"down", "up", "down", "up"}));
}
