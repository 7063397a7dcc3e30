#include "app/TrimProgressPrompts.h"
#include "app/ModalWindow.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

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
        EXPECT_EQ(window->findChild<QLabel *>()->text().toStdString(), "Trimming video file..");
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
