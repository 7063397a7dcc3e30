#include "app/ModalWindow.h"
#include "app/ModalWindowDelegate.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QKeyEvent>
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
};

const Row rows[] = {
    {Type::OpenForm, true, nullptr, false},
    {Type::ViewerSetting, false, UserDefaultUtil::KEY_VIEWER_SETTING_FLG, false},
    {Type::CameraSetting, false, UserDefaultUtil::KEY_CAMERA_SETTING_FLG, true},
    {Type::BackupDelete, false, UserDefaultUtil::KEY_BACKUP_DELETE_FLG, false},
    {Type::TaskProgress, false, nullptr, false},
    {Type::BackupSetting, false, UserDefaultUtil::KEY_BACKUP_SETTING_FLG, true},
    {Type::Trim, true, nullptr, false},
    {Type::Capture, true, nullptr, false},
    {Type::Etc, false, nullptr, false},
};

void pressEscape(QWidget *w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}
} // namespace

TEST(ModalWindowTest, EscapeAndCloseButtonFollowTheWindowType)
{
    TempDir dir;
    UserDefaultUtil store(dir.filePath("s.conf"));
    for (const Row &row : rows) {
        SCOPED_TRACE(static_cast<int>(row.type));
        {
            ModalWindow window(&store);
            window.setType(row.type);
            window.show();
            pressEscape(&window);
            EXPECT_EQ(!window.isVisible(), row.escapeEnds);
        }
        ModalWindow window(&store);
        window.setType(row.type);
        auto *view = new QWidget;
        window.setContentView(view);
        if (row.flag)
            store.setFlag(row.flag, true);
        window.show();
        window.close();
        EXPECT_FALSE(window.isVisible()) << "without a delegate every close button ends the run";
        if (row.flag) {
            EXPECT_FALSE(store.flag(row.flag));
        }
        EXPECT_EQ(window.contentView() != view, row.emptiesContent);
        if (row.emptiesContent) {
            EXPECT_EQ(view->parent(), nullptr) << "the dialog's view is handed back";
            delete view;
        }
    }
}

TEST(ModalWindowTest, ProgressAndTrimCloseButtonsAskTheDelegateAndKeepRunning)
{
    for (Type type : {Type::TaskProgress, Type::Trim}) {
        CountingDelegate delegate;
        ModalWindow window(nullptr);
        window.setType(type);
        window.setMwDelegate(&delegate);
        window.show();
        window.close();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(delegate.closing, 1);
    }
    // A capture window's close button ends its run without asking anyone.
    CountingDelegate delegate;
    ModalWindow capture(nullptr);
    capture.setType(Type::Capture);
    capture.setMwDelegate(&delegate);
    capture.show();
    capture.close();
    EXPECT_FALSE(capture.isVisible());
    EXPECT_EQ(delegate.closing, 0);
}

TEST(ModalWindowTest, StandardRunLowersChildWindowsAroundTheRunAndHandsTheViewBack)
{
    ModalWindow window(nullptr);
    window.setType(Type::OpenForm);
    QWidget view;
    std::vector<bool> topMost;
    QMetaObject::invokeMethod(
        &window, [&] { pressEscape(&window); }, Qt::QueuedConnection);
    window.runStandard(
        &view, {QStringLiteral("Open From"), QSize(300, 120), [&](bool on) { topMost.push_back(on); }, {}});
    EXPECT_EQ(topMost, (std::vector<bool>{false, true}));
    EXPECT_EQ(view.parent(), nullptr);
    EXPECT_EQ(view.size(), QSize(300, 120));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Open From"));
}

TEST(ModalWindowTest, TrimAndCaptureWindowsKeepTheirPlaceWhenCentred)
{
    for (Type type : {Type::Trim, Type::Capture}) {
        ModalWindow window(nullptr);
        window.setType(type);
        window.move(13, 17);
        window.center();
        EXPECT_EQ(window.pos(), QPoint(13, 17));
    }
}
