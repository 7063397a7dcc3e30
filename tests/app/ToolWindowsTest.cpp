#include "app/ToolWindows.h"
#include "recording/UserDefaultUtil.h"
#include "support/ModalAnswerer.h"
#include "support/TempDir.h"
#include "videotools/ToolDialogView.h"

#include "../maintenance/FakePrompts.h"
#include "../videotools/ToolTestCard.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
// The tool windows with the player faked; a run shows the window, lets the test act and waits for its end.
struct Harness
{
    Harness() : settings(dir.filePath("s.ini"))
    {
        state.hasRecording = state.selectFrame = true;
        state.selectStartMs = 4000;
        state.trackValue = 9876.9;
        tools = std::make_unique<ToolWindows>(
            settings, prompter, nullptr,
            ToolWindows::Calls{
                [this] { return state; },
                [this](bool on) { calls << (on ? "trim on" : "trim off"); },
                [this] { calls << "pause"; },
                [](ToolType type) { return QPoint(type == ToolType::Capture ? 220 : 120, 340); },
                {},
                [this](ModalWindow &window, QWidget &tool) { run(window, tool); }});
    }
    void run(ModalWindow &window, QWidget &tool)
    {
        calls << QStringLiteral("run %1 %2,%3").arg(window.windowTitle()).arg(window.x()).arg(window.y());
        auto *trim = qobject_cast<TrimView *>(&tool);
        auto *capture = qobject_cast<CaptureView *>(&tool);
        ASSERT_TRUE(trim || capture);
        EXPECT_EQ(window.type(), trim ? ModalWindow::Type::Trim : ModalWindow::Type::Capture);
        const ToolInfo &info = trim ? *trim->toolinfo : *capture->toolinfo;
        EXPECT_EQ(info.type, trim ? ToolType::Trim : ToolType::Capture);
        EXPECT_EQ(info.selectStartSumFrameTS, 4000);
        EXPECT_EQ(info.selectEndSumFrameTS, 9876);
        window.show();
        trim ? trimAction(window, *trim) : captureAction(window, *capture);
        while (window.isVisible())
            QCoreApplication::processEvents();
        calls << "ended";
    }

    TempDir dir;
    UserDefaultUtil settings;
    FakePrompter prompter;
    ToolWindows::PlayerState state;
    QStringList calls;
    std::function<void(ModalWindow &, TrimView &)> trimAction;
    std::function<void(ModalWindow &, CaptureView &)> captureAction;
    std::unique_ptr<ToolWindows> tools;
};

const QString CUT_FAILED = QStringLiteral("warn: Cut was unsuccessful.");

// The save panel answered as a user would: the file typed into the name field, then Save.
void typeIntoSavePanel(QWidget *modal, const QString &file)
{
    auto *panel = qobject_cast<QFileDialog *>(modal);
    ASSERT_NE(panel, nullptr) << modal->metaObject()->className();
    auto *field = panel->findChild<QLineEdit *>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(file);
    QMetaObject::invokeMethod(panel, "accept");
}

// What the window shows of a control: on screen, inside the window, and drawn (more than one colour).
bool isShownIn(QWidget *window, QWidget *control)
{
    if (!control || !control->isVisible())
        return false;
    const QRect area(control->mapTo(window, QPoint(0, 0)), control->size());
    if (area.isEmpty() || !window->rect().contains(area))
        return false;
    const QImage image = window->grab(area).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return true;
    return false;
}

template <class Control> Control *withTextStarting(QWidget *window, const QString &start)
{
    for (Control *control : window->findChildren<Control *>())
        if (control->text().startsWith(start))
            return control;
    return nullptr;
}
} // namespace

TEST(ToolWindowsTest, TheCutButtonFirstSelectsARangeAndRefusesWithoutAUsablePosition)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    // Recording, selecting, track value; refused ones leave trim mode with the alert.
    const std::tuple<bool, bool, double, bool> rows[] = {
        {true, false, 1500.0, false}, {false, true, 1500.0, true}, {true, true, nan, true},
        {true, false, inf, true},     {true, true, 1e300, true},   {true, true, -3.0, true}};
    for (const auto &[hasRecording, selecting, trackValue, refused] : rows) {
        Harness h;
        h.state.hasRecording = hasRecording;
        h.state.selectFrame = selecting;
        h.state.trackValue = trackValue;
        h.tools->openToolWindow(ToolWindows::CUT_BUTTON);
        EXPECT_EQ(h.calls, QStringList{refused ? "trim off" : "trim on"}) << trackValue;
        EXPECT_EQ(h.prompter.shown, refused ? QStringList{CUT_FAILED} : QStringList{}) << trackValue;
    }
}

TEST(ToolWindowsTest, TheSecondPressOpensTheTrimWindowTheSnapshotButtonTheCaptureWindowEachEndingItsRun)
{
    using Action = std::function<void(ModalWindow &, TrimView &)>;
    // How the run ends, the calls after the run line, the alerts.
    const std::tuple<Action, QStringList, QStringList> rows[] = {
        {[](ModalWindow &, TrimView &t) { t.backAction(); }, {"ended"}, {}},
        {[](ModalWindow &w, TrimView &) { w.closeButtonPressed(); }, {"ended"}, {}},
        {[](ModalWindow &, TrimView &t) { t.cancelAction(); }, {"trim off", "ended"}, {}},
        {[](ModalWindow &, TrimView &t) { t.delegate->toolWindowClosed(2); },
         {"trim off", "ended"},
         {}},                                                                 // saved
        {[](ModalWindow &, TrimView &t) { t.delegate->toolWindowClosed(3); }, // cancelled while running
         {"ended"},
         {"inform: The trim tool operation was cancelled."}},
    };
    for (const auto &[action, after, alerts] : rows) {
        Harness h;
        h.trimAction = action;
        h.tools->openToolWindow(ToolWindows::CUT_BUTTON);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.calls, QStringList({"pause", "run Trim Tool 120,340"}) + after);
        EXPECT_EQ(h.prompter.shown, alerts);
    }
    // The snapshot button's capture window ends by its Cancel, close button or Escape.
    const std::function<void(ModalWindow &, CaptureView &)> ends[] = {
        [](ModalWindow &, CaptureView &t) { t.cancelAction(); },
        [](ModalWindow &w, CaptureView &) { w.closeButtonPressed(); },
        [](ModalWindow &w, CaptureView &) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &escape);
        }};
    for (const auto &end : ends) {
        Harness h;
        h.state.selectFrame = false; // no trim range needed for a still
        h.captureAction = end;
        h.tools->openToolWindow(ToolWindows::SNAPSHOT_BUTTON);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.calls, (QStringList{"pause", "run Capture Image 220,340", "ended"}));
        EXPECT_TRUE(h.prompter.shown.isEmpty());
    }
    Harness none;
    none.state.hasRecording = false;
    none.tools->openToolWindow(ToolWindows::SNAPSHOT_BUTTON);
    EXPECT_EQ(none.calls, QStringList{"trim off"});
    EXPECT_EQ(none.prompter.shown, QStringList{CUT_FAILED});
}

// The still, and the trim range's end, are the picture a pause rests on: the tool window opens once it is at
// rest. A second press meanwhile opens no second window, and another item come meanwhile gets none.
TEST(ToolWindowsTest, AToolWindowWaitsForThePausedPictureOnceAndNotForAnotherItem)
{
    for (const int button : {ToolWindows::SNAPSHOT_BUTTON, ToolWindows::CUT_BUTTON}) {
        for (const bool itemChanged : {false, true}) {
            Harness h;
            const bool capture = button == ToolWindows::SNAPSHOT_BUTTON;
            h.state.selectFrame = !capture;
            h.captureAction = [](ModalWindow &, CaptureView &t) { t.cancelAction(); };
            h.trimAction = [](ModalWindow &, TrimView &t) { t.backAction(); };
            std::vector<std::function<void()>> waiting;
            h.tools = std::make_unique<ToolWindows>(
                h.settings, h.prompter, nullptr,
                ToolWindows::Calls{[&h] { return h.state; },
                                   {},
                                   [&h] { h.calls << "pause"; },
                                   [](ToolType) { return QPoint(220, 340); },
                                   {},
                                   [&h](ModalWindow &window, QWidget &tool) { h.run(window, tool); },
                                   [&](std::function<void()> then) { waiting.push_back(std::move(then)); }});
            h.tools->openToolWindow(button);
            h.tools->openToolWindow(button);
            EXPECT_EQ(h.calls, QStringList{"pause"}) << "nothing opens before the picture rests";
            ASSERT_EQ(waiting.size(), 1u);
            if (itemChanged)
                h.state.info.chapterList = {nullptr};
            waiting.front()();
            QCoreApplication::processEvents();
            const QString run = capture ? "run Capture Image 220,340" : "run Trim Tool 220,340";
            EXPECT_EQ(h.calls, itemChanged ? QStringList{"pause"} : QStringList({"pause", run, "ended"}))
                << button << itemChanged;
        }
    }
}

// The tool panel as the application gives it: its trim shows the task progress dialog, the task with its
// moving dots, the elapsed time, the bar and Cancel; Cancel stops the trim and leaves nothing behind.
TEST(ToolWindowsTest, TheToolPanelsTrimShowsTheTaskProgressDialogWhoseCancelStopsTheTrim)
{
    Harness h;
    const QString endless = h.dir.write("endless", "#!/bin/sh\nexec sleep 600\n");
    QFile::setPermissions(endless, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const std::unique_ptr<ToolDialogView> panel = h.tools->makeToolPanel();
    panel->toolinfo = ToolTestCard::shared().tripInfo(ToolType::Trim, 4000);
    panel->delegate = h.tools.get();
    panel->setWorkFolderBase(h.dir.filePath("TMP"));
    panel->setFfmpegProgram(endless);
    panel->show();
    panel->viewDidAppear();
    const QString clip = h.dir.filePath("clip.mp4");
    {
        ModalAnswerer answerer([&](QWidget *modal) { typeIntoSavePanel(modal, clip); });
        panel->saveAction();
    }
    ASSERT_TRUE(panel->isBusy());

    QWidget *shown = QApplication::activeModalWidget();
    ASSERT_NE(shown, nullptr);
    auto *window = qobject_cast<ModalWindow *>(shown);
    ASSERT_NE(window, nullptr) << "the progress window is a " << shown->metaObject()->className();
    EXPECT_EQ(window->type(), ModalWindow::Type::TaskProgress);
    EXPECT_EQ(window->windowTitle(), "Trim Tool");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QLabel *comment = withTextStarting<QLabel>(window, "Trimming video file.");
    QLabel *elapsed = withTextStarting<QLabel>(window, "elapsed time：");
    auto *cancel = withTextStarting<QPushButton>(window, "Cancel");
    ASSERT_TRUE(comment && elapsed && cancel);
    // The first tick comes with the window: two dots and no time yet; then each second a dot more and the
    // time counted up by one.
    EXPECT_EQ(comment->text().toStdString(), "Trimming video file..");
    EXPECT_EQ(elapsed->text().toStdString(), "elapsed time：00:00:00");
    const std::pair<const char *, QWidget *> controls[] = {{"comment", comment},
                                                           {"time", elapsed},
                                                           {"bar", window->findChild<QProgressBar *>()},
                                                           {"Cancel", cancel}};
    for (const auto &[name, control] : controls)
        EXPECT_TRUE(isShownIn(window, control)) << name;
    for (const char *seconds : {"01", "02"}) {
        const QString before = comment->text();
        EXPECT_TRUE(QTest::qWaitFor([&] { return comment->text() != before; }, 5000));
        EXPECT_EQ(comment->text(), before + ".");
        EXPECT_EQ(elapsed->text().toStdString(), std::string("elapsed time：00:00:") + seconds);
    }

    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->isBusy(); }, 10000)) << "the trim has stopped";
    QCoreApplication::processEvents();
    EXPECT_EQ(h.prompter.shown, QStringList{"inform: The trim tool operation was cancelled."});
    EXPECT_FALSE(QFile::exists(clip));
    EXPECT_TRUE(QDir(h.dir.filePath("TMP")).isEmpty());
}
