#include "videotools/ToolDialogView.h"

#include "FakeToolPrompts.h"
#include "ToolTestCard.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
        ToolDialogView &view = open(c.info);
        const std::string what = std::to_string(int(c.info.type)) + "/" + std::to_string(c.height);
        EXPECT_EQ(view.size(), QSize(400, c.height)) << what;
        EXPECT_EQ((std::array{view.btnBack->isVisible(), view.lblWarning->isVisible(),
                              view.lblNotAdd->isVisible()}),
                  (std::array{c.back, c.warning, c.notAdd}))
            << what;
        EXPECT_EQ(view.btnSave->x(), c.buttonMargin) << what;
        EXPECT_EQ(400 - view.btnCancel->geometry().right() - 1, c.buttonMargin) << what;
        EXPECT_EQ(view.btnSave->y(), view.btnCancel->y()) << what;
        // The buttons lie below the last text row.
        const QLabel *above = c.notAdd ? view.lblNotAdd : c.warning ? view.lblWarning : nullptr;
        EXPECT_GT(view.btnSave->y(), above ? above->geometry().bottom() : view.chkDate->geometry().bottom())
            << what;
        EXPECT_EQ(view.checkedFlags().any(), false) << what;
        EXPECT_EQ(view.chkDate->isEnabled(), !c.notAdd) << what;
        EXPECT_EQ(view.sEx(), c.info.type == ToolType::Capture ? "jpeg" : "mp4");
    }
}

TEST_F(ToolDialogViewTest, DurationTexts)
{
    ToolDialogView view(_settings);
    const std::pair<int64_t, const char *> cases[] = {
        {59999, "0Minutes"}, {300000, "5Minutes"}, {3600000, "1Hour0Minutes"}, {3900000, "1Hour5Minutes"}};
    for (const auto &[ms, text] : cases)
        EXPECT_EQ(view.makeDurationText(ms), text);
}

TEST_F(ToolDialogViewTest, SaveChecksByToolAndCancelByTool)
{
    ToolTestCard &card = ToolTestCard::shared();
    const QString desktop = QDir::homePath() + "/Desktop";
    const QString fallback = QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
    ToolInfo shortTrim = card.tripInfo(ToolType::Trim, 1999);
    open(shortTrim).saveAction();
    EXPECT_EQ(_prompts->calls, QStringList{"alert:" + _view->al_warningMsg});
    _view->cancelAction();
    EXPECT_EQ(_delegate.results, QList<int>{ToolViewDelegate::Cancel});

    // Capture goes straight to the save panel, in the stored folder while it exists.
    _settings.pathDirCap = _dir.path();
    open(card.tripInfo(ToolType::Capture, 1000)).saveAction();
    EXPECT_EQ(_prompts->calls, QStringList{"save:" + _dir.path() + ":jpeg"});
    _settings.pathDirCap = _dir.filePath("gone");
    _view->saveAction();
    EXPECT_EQ(_prompts->calls.last(), "save:" + fallback + ":jpeg");
    _view->cancelAction();
    _view->backAction();
    EXPECT_EQ(_delegate.closed, 1);
    EXPECT_EQ(_delegate.results, (QList<int>{ToolViewDelegate::Cancel, ToolViewDelegate::Back}));
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

TEST_F(ToolDialogViewTest, TrimRunsTheSharedJobAndReportsSaved)
{
    ToolDialogView &view = open(ToolTestCard::shared().tripInfo(ToolType::Trim, 4000));
    _prompts->destination = _dir.filePath("clip.mp4");
    std::vector<double> values;
    _prompts->onProgress = [&](double value) { values.push_back(value); };
    QEventLoop loop;
    _delegate.loop = &loop;
    view.saveAction();
    loop.exec();
    EXPECT_EQ(_delegate.results, QList<int>{ToolViewDelegate::Saved});
    EXPECT_EQ(values.back(), 100.0);
    EXPECT_TRUE(std::all_of(values.begin(), values.end() - 1, [](double v) { return v <= 99.0; }));
    EXPECT_GT(QFileInfo(_dir.filePath("clip.mp4")).size(), 0);
    EXPECT_TRUE(QDir(_dir.filePath("TMP")).isEmpty());
}

TEST_F(ToolDialogViewTest, CancelWhileTrimmingReportsOnlyCancelled)
{
    // An ffmpeg that never ends: only the cancel can end the run.
    const QString program = _dir.write("slowffmpeg", "#!/bin/sh\nexec sleep 600\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ToolDialogView &view = open(ToolTestCard::shared().tripInfo(ToolType::Trim, 4000));
    view.setFfmpegProgram(program);
    _prompts->destination = _dir.filePath("cancelled.mp4");
    QEventLoop loop;
    _delegate.loop = &loop;
    _prompts->onProgress = [&](double value) {
        if (value > 0 && _prompts->onCancel)
            std::exchange(_prompts->onCancel, nullptr)();
    };
    view.saveAction();
    loop.exec();
    while (view.isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_TRUE(view.cancelFlg());
    EXPECT_EQ(_delegate.results, QList<int>{ToolViewDelegate::CancelledWhileRunning});
    EXPECT_TRUE(_prompts->calls.filter("alert:").isEmpty());
    EXPECT_FALSE(QFile::exists(_dir.filePath("cancelled.mp4")));
    EXPECT_TRUE(QDir(_dir.filePath("TMP")).isEmpty());
}
