#include "videotools/TrimView.h"

#include "FakeToolPrompts.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimPrompts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <gtest/gtest.h>

namespace {

using FakePrompts = FakeToolPrompts;
using FakeDelegate = FakeToolDelegate;

class TrimViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        card = new TempDir;
        SampleScenario scenario = SampleScenario::singleChapter(4000);
        scenario.keyFrameInterval = 10;
        SampleCardWriter writer(scenario);
        ASSERT_TRUE(writer.writeCard(card->path()));
    }
    static void TearDownTestSuite()
    {
        delete card;
        card = nullptr;
    }

    void SetUp() override
    {
        _card.loadCardFolder(FileUtil::fileUrl(card->filePath("MOVE")));
        ASSERT_EQ(_card._tripList.size(), 1u);
        _view.setWorkFolderBase(_dir.filePath("TMP"));
        _view.delegate = &_delegate;
        auto prompts = std::make_unique<FakePrompts>();
        _prompts = prompts.get();
        _view.setPrompts(std::move(prompts));
    }
    void TearDown() override { _card.dispose(); }

    void open(int64_t start, int64_t end, bool date = false)
    {
        _settings.expDlgDateTime = date;
        ToolInfo info;
        info.chapterList = _card._tripList.front()->sortedChapters();
        info.chapter = info.chapterList.front();
        info.selectStartSumFrameTS = start;
        info.selectEndSumFrameTS = end;
        _view.toolinfo = info;
        _view.setupControls();
    }

    static TempDir *card;
    TempDir _dir;
    UserDefaultUtil _settings{_dir.filePath("settings.ini")};
    TrimView _view{_settings};
    FakePrompts *_prompts = nullptr;
    FakeDelegate _delegate;
    CardData _card;
};

TempDir *TrimViewTest::card = nullptr;

TEST_F(TrimViewTest, RangeAndLongJobChecksBeforeTheSavePanel)
{
    const QString documents = UserDefaultUtil::documentsPath();
    const QString save = "save:" + (QFileInfo(documents).isDir() ? documents : QDir::homePath()) + ":mp4";
    struct Case
    {
        int64_t rangeMs;
        bool date;
        bool answer;
        QStringList calls;
    };
    const QString tooShort = "alert:" + _view.al_warningMsg;
    const QString longJob =
        "confirm:It will take more than 5Minutes to complete video trimming. Would you like to "
        "continue?";
    const Case cases[] = {
        {1999, false, true, {tooShort}},       {2000, false, true, {save}},
        {299999, true, true, {save}},          {300000, true, false, {longJob}},
        {300000, true, true, {longJob, save}}, {36000000, false, true, {save}},
    };
    for (const Case &c : cases) {
        _prompts->calls.clear();
        _prompts->answer = c.answer;
        open(1000, 1000 + c.rangeMs, c.date);
        _view.saveAction();
        EXPECT_EQ(_prompts->calls, c.calls) << c.rangeMs;
    }
    EXPECT_TRUE(_delegate.results.isEmpty());
}

TEST_F(TrimViewTest, SaveRunsTheJobAndReportsSavedOnce)
{
    open(500, 3500, true);
    _prompts->destination = _dir.filePath("clip.mp4");
    std::vector<double> values;
    _prompts->onProgress = [&](double value) { values.push_back(value); };
    QEventLoop loop;
    _delegate.loop = &loop;
    _view.saveAction();
    ASSERT_TRUE(_view.isRunning());
    loop.exec();
    EXPECT_EQ(_delegate.results, QList<int>{ToolViewDelegate::Saved});
    EXPECT_EQ(_prompts->calls.filter("alert:").join(','), "alert:Saved");
    EXPECT_EQ(values.back(), 100.0);
    EXPECT_TRUE(std::all_of(values.begin(), values.end() - 1, [](double v) { return v < 100.0; }));
    EXPECT_TRUE(QFileInfo(_dir.filePath("clip.mp4")).size() > 0);
    EXPECT_TRUE(QDir(_dir.filePath("TMP")).isEmpty());
    // The choices were stored for the next opening.
    UserDefaultUtil reread(_dir.filePath("settings.ini"));
    reread.load();
    EXPECT_TRUE(reread.expDlgDateTime);
    EXPECT_EQ(reread.pathDirCut, _dir.path());
}

TEST_F(TrimViewTest, CancelWhileRunningReportsOnlyCancelled)
{
    // An ffmpeg that never ends: only the cancel can end the job.
    const QString program = _dir.write("slowffmpeg", "#!/bin/sh\nexec sleep 600\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    _view.setFfmpegProgram(program);
    open(500, 3500);
    _prompts->destination = _dir.filePath("cancelled.mp4");
    QEventLoop loop;
    _delegate.loop = &loop;
    _prompts->onProgress = [&](double value) {
        if (value > 0 && _prompts->onCancel)
            std::exchange(_prompts->onCancel, nullptr)();
    };
    _view.saveAction();
    loop.exec();
    while (_view.isRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(_delegate.results, QList<int>{ToolViewDelegate::CancelledWhileRunning});
    EXPECT_TRUE(_prompts->calls.filter("alert:").isEmpty());
    EXPECT_FALSE(QFile::exists(_dir.filePath("cancelled.mp4")));
    EXPECT_TRUE(QDir(_dir.filePath("TMP")).isEmpty());
}

TEST_F(TrimViewTest, SourceRecordingAsDestinationIsRefused)
{
    open(500, 3500);
    _prompts->destination = _card._tripList.front()->sortedChapters().front()->_pathMp4.toLocalFile();
    _view.saveAction();
    EXPECT_FALSE(_view.isRunning());
    EXPECT_EQ(_prompts->calls.last(), "alert:Cut was unsuccessful.");
}

TEST_F(TrimViewTest, TrimmedClipDisablesTheBoxesAndAsksNothing)
{
    open(500, 3500, true);
    _prompts->destination = _dir.filePath("first.mp4");
    QEventLoop loop;
    _delegate.loop = &loop;
    _view.saveAction();
    loop.exec();

    CardData clipCard;
    clipCard.loadCardFolder(FileUtil::fileUrl(_dir.filePath("first.mp4")));
    ASSERT_EQ(clipCard._tripList.size(), 1u);
    ToolInfo info;
    info.chapterList = clipCard._tripList.front()->sortedChapters();
    info.chapter = info.chapterList.front();
    info.selectStartSumFrameTS = 0;
    info.selectEndSumFrameTS = 36000000;
    _view.toolinfo = info;
    _view.setupControls();
    EXPECT_TRUE(_view.cutFlg());
    EXPECT_FALSE(_view.checkedFlags().any());
    const auto boxes = _view.findChildren<QCheckBox *>();
    EXPECT_TRUE(std::none_of(boxes.begin(), boxes.end(), [](QCheckBox *b) { return b->isEnabled(); }));
    _prompts->calls.clear();
    _prompts->destination.reset();
    _view.saveAction();
    EXPECT_EQ(_prompts->calls.size(), 1);
    EXPECT_TRUE(_prompts->calls.front().startsWith("save:" + _dir.path()));
    clipCard.dispose();
}

} // namespace
