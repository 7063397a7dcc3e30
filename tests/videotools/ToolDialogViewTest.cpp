#include "videotools/ToolDialogView.h"

#include "FakeToolPrompts.h"
#include "ToolTestCard.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class ToolDialogViewTest : public ::testing::Test
{
protected:
    // A new panel for info, shown.
    ToolDialogView &open(const ToolInfo &info)
    {
        _view = std::make_unique<ToolDialogView>(_settings);
        _view->setWorkFolderBase(_dir.filePath("TMP"));
        _view->toolinfo = info;
        _view->delegate = &_delegate;
        auto prompts = std::make_unique<FakeToolPrompts>();
        _prompts = prompts.get();
        _view->setPrompts(std::move(prompts));
        _view->show();
        _view->viewDidAppear();
        return *_view;
    }

    TempDir _dir;
    UserDefaultUtil _settings{_dir.filePath("settings.ini")};
    FakeToolDelegate _delegate;
    FakeToolPrompts *_prompts = nullptr;
    std::unique_ptr<ToolDialogView> _view;
};

} // namespace

TEST_F(ToolDialogViewTest, SizeAndControlsOfEachTool)
{
    ToolTestCard &card = ToolTestCard::shared();
    struct Case
    {
        ToolInfo info;
        int height;
        bool back, warning, notAdd;
        int buttonMargin; // Save's left and Cancel's right distance from the edges
    };
    const Case cases[] = {
        {card.tripInfo(ToolType::Trim), 110, true, true, false, 50},
        {card.clipInfo(ToolType::Trim), 135, true, true, true, 50},
        {card.tripInfo(ToolType::Capture), 85, false, false, false, 70},
        {card.clipInfo(ToolType::Capture), 110, false, false, true, 70},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.height);
        ToolDialogView &view = open(c.info);
        EXPECT_EQ(view.size(), QSize(400, c.height));
        EXPECT_EQ((std::array{view.btnBack->isVisible(), view.lblWarning->isVisible(),
                              view.lblNotAdd->isVisible()}),
                  (std::array{c.back, c.warning, c.notAdd}));
        EXPECT_EQ(view.btnSave->x(), c.buttonMargin);
        EXPECT_EQ(400 - view.btnCancel->geometry().right() - 1, c.buttonMargin);
        EXPECT_EQ(view.btnSave->y(), view.btnCancel->y());
        // The buttons lie below the last text row.
        const QLabel *above = c.notAdd ? view.lblNotAdd : c.warning ? view.lblWarning : nullptr;
        EXPECT_GT(view.btnSave->y(), above ? above->geometry().bottom() : view.chkDate->geometry().bottom());
        EXPECT_EQ(view.sEx(), c.info.type == ToolType::Capture ? "jpeg" : "mp4");
    }
}

TEST_F(ToolDialogViewTest, CaptureSavePanelFolderAndTheCloseResults)
{
    // Capture goes straight to the save panel, in the stored folder while it exists.
    const QString desktop = QDir::homePath() + "/Desktop";
    const QString fallback = QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
    _settings.pathDirCap = _dir.path();
    open(ToolTestCard::shared().tripInfo(ToolType::Capture, 1000)).saveAction();
    EXPECT_EQ(_prompts->calls, QStringList{"save:" + _dir.path() + ":jpeg"});
    _settings.pathDirCap = _dir.filePath("gone");
    _view->saveAction();
    EXPECT_EQ(_prompts->calls.last(), "save:" + fallback + ":jpeg");
    _view->cancelAction(); // capture: the window is only closed
    _view->backAction();
    open(ToolTestCard::shared().tripInfo(ToolType::Trim)).cancelAction();
    EXPECT_EQ(_delegate.closed, 1);
    EXPECT_EQ(_delegate.results, (QList<int>{ToolViewDelegate::Back, ToolViewDelegate::Cancel}));
}

TEST_F(ToolDialogViewTest, CaptureSavesTheStillAndStoresTheChoices)
{
    ToolDialogView &view = open(ToolTestCard::shared().tripInfo(ToolType::Capture, 2500));
    view.chkDate->setChecked(true); // then off again below: all boxes off must be stored as false
    _settings.setValue(UserDefaultUtil::KEY_EXP_DLG_DATE_TIME, true);
    view.chkDate->setChecked(false);
    _prompts->destination = _dir.filePath("still.jpeg");
    QEventLoop loop;
    _prompts->loop = &loop;
    view.saveAction();
    EXPECT_TRUE(view.isBusy());
    EXPECT_FALSE(view.btnSave->isEnabled());
    loop.exec();
    EXPECT_EQ(_prompts->calls.last(), "alert:Saved");
    EXPECT_EQ(_delegate.closed, 1);
    EXPECT_TRUE(view.btnSave->isEnabled());
    EXPECT_EQ(QImageReader(_dir.filePath("still.jpeg")).format(), "jpeg");
    UserDefaultUtil reread(_dir.filePath("settings.ini"));
    reread.load();
    EXPECT_FALSE(reread.expDlgDateTime || reread.expDlgSpeed || reread.expDlgAcceleration ||
                 reread.expDlgPoint);
    EXPECT_EQ(reread.pathDirCap, _dir.path());
}
