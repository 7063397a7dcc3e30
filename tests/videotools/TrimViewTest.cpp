// The trim tool and the tool panel's trim layout: the same checks before the save panel and the same job.
#include "videotools/TrimView.h"
#include "videotools/ToolDialogView.h"

#include "FakeToolPrompts.h"
#include "ToolTestCard.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace {

template <class View> class TrimViewTest : public ::testing::Test
{
protected:
    static constexpr bool IS_TOOL = std::is_same_v<View, TrimView>;

    View &open(const ToolInfo &info, bool date = false)
    {
        _settings.expDlgDateTime = date;
        _view = std::make_unique<View>(_settings);
        _view->setWorkFolderBase(_dir.filePath("TMP"));
        _view->toolinfo = info;
        _view->delegate = &_delegate;
        auto prompts = std::make_unique<FakeToolPrompts>();
        _prompts = prompts.get();
        _view->setPrompts(std::move(prompts));
        if constexpr (IS_TOOL) {
            _view->setupControls();
        } else {
            _view->show();
            _view->viewDidAppear();
        }
        return *_view;
    }
    bool busy() const
    {
        if constexpr (IS_TOOL)
            return _view->isRunning();
        else
            return _view->isBusy();
    }
    // The tool opens its first save panel in Documents, the panel on the Desktop; else the home folder.
    static QString firstFolder()
    {
        const QString folder = IS_TOOL ? UserDefaultUtil::documentsPath() : QDir::homePath() + "/Desktop";
        return QFileInfo(folder).isDir() ? folder : QDir::homePath();
    }
    // Saves the trip's first 4 s with the date burned in; waits for the window's result and the job's end.
    // With another ffmpeg (one that never ends) the run is cancelled at its first progress.
    void runTrim(const QString &destination, const QString &ffmpeg = {})
    {
        View &view = open(ToolTestCard::shared().tripInfo(ToolType::Trim, 4000), true);
        if (!ffmpeg.isEmpty())
            view.setFfmpegProgram(ffmpeg);
        _prompts->destination = destination;
        _prompts->onProgress = [this, ffmpeg](double value) {
            _progress.push_back(value);
            if (!ffmpeg.isEmpty() && value > 0 && _prompts->onCancel)
                std::exchange(_prompts->onCancel, nullptr)();
        };
        QEventLoop loop;
        _delegate.loop = &loop;
        view.saveAction();
        loop.exec();
        while (busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_TRUE(QDir(_dir.filePath("TMP")).isEmpty());
    }

    TempDir _dir;
    UserDefaultUtil _settings{_dir.filePath("settings.ini")};
    FakeToolDelegate _delegate;
    FakeToolPrompts *_prompts = nullptr;
    std::unique_ptr<View> _view;
    std::vector<double> _progress;
};

using Views = ::testing::Types<TrimView, ToolDialogView>;
TYPED_TEST_SUITE(TrimViewTest, Views);

TYPED_TEST(TrimViewTest, RangeAndLongJobChecksBeforeTheSavePanel)
{
    const QString save = "save:" + this->firstFolder() + ":mp4";
    const QString longJob = "confirm:It will take more than %1 to complete video trimming. Would you like to "
                            "continue?";
    const struct
    {
        int64_t rangeMs;
        bool date, answer;
        QStringList calls; // "short" for the too-short alert
    } cases[] = {
        {1999, false, true, {"short"}},
        {2000, false, true, {save}},
        {299999, true, true, {save}},
        {300000, true, false, {longJob.arg("5Minutes")}},
        {3900000, true, true, {longJob.arg("1Hour5Minutes"), save}},
        {36000000, false, true, {save}},
    };
    for (const auto &c : cases) {
        auto &view = this->open(ToolTestCard::shared().tripInfo(ToolType::Trim, c.rangeMs), c.date);
        this->_prompts->answer = c.answer;
        view.saveAction();
        EXPECT_EQ(this->_prompts->calls.replaceInStrings("alert:" + view.al_warningMsg, "short"), c.calls)
            << c.rangeMs;
    }
    EXPECT_TRUE(this->_delegate.results.isEmpty());
}

TYPED_TEST(TrimViewTest, SaveRunsTheJobReportsSavedOnceAndStoresTheChoices)
{
    const QString clip = this->_dir.filePath("clip.mp4");
    this->runTrim(clip);
    EXPECT_EQ(this->_delegate.results, QList<int>{ToolViewDelegate::Saved});
    EXPECT_EQ(this->_prompts->calls.filter("alert:").join(','), "alert:Saved");
    const std::vector<double> &values = this->_progress;
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 100.0);
    EXPECT_TRUE(std::all_of(values.begin(), values.end() - 1, [](double v) { return v <= 99.0; }));
    EXPECT_GT(QFileInfo(clip).size(), 0);
    UserDefaultUtil reread(this->_dir.filePath("settings.ini"));
    reread.load();
    EXPECT_TRUE(reread.expDlgDateTime);
    EXPECT_EQ(reread.pathDirCut, this->_dir.path());
}

TYPED_TEST(TrimViewTest, CancelWhileRunningReportsOnlyCancelled)
{
    const QString program = this->_dir.write("endless", "#!/bin/sh\nexec sleep 600\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    this->runTrim(this->_dir.filePath("cancelled.mp4"), program);
    EXPECT_EQ(this->_delegate.results, QList<int>{ToolViewDelegate::CancelledWhileRunning});
    EXPECT_TRUE(this->_prompts->calls.filter("alert:").isEmpty());
    EXPECT_FALSE(QFile::exists(this->_dir.filePath("cancelled.mp4")));
}

TYPED_TEST(TrimViewTest, SourceRecordingAsDestinationIsRefused)
{
    const ToolInfo info = ToolTestCard::shared().tripInfo(ToolType::Trim, 4000);
    const QString source = info.chapterList.front()->_pathMp4.toLocalFile();
    const qint64 size = QFileInfo(source).size();
    this->open(info);
    this->_prompts->destination = source;
    this->_view->saveAction();
    EXPECT_FALSE(this->busy());
    EXPECT_EQ(this->_prompts->calls.last(), "alert:Cut was unsuccessful.");
    EXPECT_EQ(QFileInfo(source).size(), size);
}

TYPED_TEST(TrimViewTest, TrimmedClipDisablesTheBoxesAndAsksNothing)
{
    ToolInfo info = ToolTestCard::shared().clipInfo(ToolType::Trim);
    info.selectEndSumFrameTS = 36000000;
    this->_settings.expDlgSpeed = true;
    auto &view = this->open(info, true);
    EXPECT_TRUE(view.cutFlg());
    EXPECT_FALSE(view.checkedFlags().any());
    const auto boxes = view.template findChildren<QCheckBox *>();
    EXPECT_TRUE(std::none_of(boxes.begin(), boxes.end(), [](QCheckBox *b) { return b->isEnabled(); }));
    view.saveAction();
    EXPECT_EQ(this->_prompts->calls, QStringList{"save:" + this->firstFolder() + ":mp4"});
}

} // namespace
