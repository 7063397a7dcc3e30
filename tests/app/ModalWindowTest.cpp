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
    bool asksDelegate; // the close button leaves the run to the delegate
    bool keepsPlace;   // not centred
};

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

void pressEscape(QWidget *w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}
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
            pressEscape(&window);
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
            if (row.flag)
                EXPECT_FALSE(store.flag(row.flag));
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
