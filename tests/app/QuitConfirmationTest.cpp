#include "app/QuitConfirmation.h"
#include "maintenance/MessageBoxPrompter.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QuitConfirmationTest, AsksOnlyWithALoadedRecordingAndCancelKeepsRunningWithoutRestart)
{
    struct Row
    {
        bool active;
        bool answerOk;
        bool asked;
        bool terminate;
    } rows[] = {
        {false, false, false, true}, // nothing loaded: no question, state saved
        {true, true, true, true},
        {true, false, true, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.active * 2 + row.answerOk);
        TempDir dir;
        UserDefaultUtil settings(dir.filePath("s.conf"));
        settings.restartFlg = true;
        FakePrompter prompter;
        prompter.confirmAnswer = row.answerOk;
        int pauses = 0, saves = 0;
        QStringList topMost;
        QuitConfirmation quit(settings, prompter,
                              {[&] { return row.active; }, [&] { ++pauses; },
                               [&] {
                                   ++saves;
                                   return true;
                               },
                               [&](bool on) { topMost << (on ? "up" : "down"); }});

        EXPECT_EQ(quit.confirmTerminate(nullptr), row.terminate);
        EXPECT_EQ(prompter.shown.size(), row.asked ? 1 : 0);
        EXPECT_EQ(pauses, row.asked ? 1 : 0);
        EXPECT_EQ(topMost, row.asked ? QStringList({"down", "up"}) : QStringList());
        EXPECT_EQ(saves, row.terminate ? 1 : 0);
        EXPECT_EQ(settings.restartFlg, row.terminate) << "a cancelled quit drops the restart";
    }
}

TEST(QuitConfirmationTest, EscapeOnTheQuestionIsCancel)
{
    MessageBoxPrompter prompter;
    bool escaped = false;
    std::function<void()> pressEscapeWhenShown = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, pressEscapeWhenShown);
            return;
        }
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
        escaped = true;
    };
    QTimer::singleShot(0, pressEscapeWhenShown);
    EXPECT_FALSE(prompter.confirm(nullptr, QuitConfirmation::questionText()));
    EXPECT_TRUE(escaped);
}
