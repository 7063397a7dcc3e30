// The trim tool, the capture tool and the tool panel. The panel's trim and capture layouts share typed tests
// with the two tools; the panel's own layouts come last.
#include "videotools/CaptureView.h"
#include "videotools/StillCapture.h"
#include "videotools/ToolDialogView.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimPrompts.h"
#include "videotools/TrimView.h"

#include "ToolTestCard.h"
#include "card/WriteDestination.h"
#include "recording/UserDefaultUtil.h"
#include "support/MessageCapture.h"
#include "support/ReadOnlyFolder.h"
#include "support/SmallVolume.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QImageReader>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

double meanGrey(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (double(image.width()) * image.height());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The tools' dialogs and main window as the tests see them: every call recorded.
struct FakeToolPrompts : TrimPrompts
{
    // "alert:<text>", "confirm:<text>", "save:<folder>:<extension>", "progress:<label>", "close"
    QStringList calls;
    QStringList causes; // of each alert, in order
    bool answer = true;
    std::optional<QString> destination;
    std::function<void()> onCancel;
    std::function<void(double)> onProgress;
    QEventLoop *loop = nullptr; // left at the first alert

    void showAlert(Style, const QString &, const QString &text, const QString &cause = {}) override
    {
        calls << "alert:" + text;
        causes << cause;
        if (loop)
            loop->quit();
    }
    bool confirm(const QString &, const QString &text) override
    {
        calls << "confirm:" + text;
        return answer;
    }
    std::optional<QString> chooseDestination(const QString &folder, const QString &extension) override
    {
        calls << "save:" + folder + ":" + extension;
        return destination;
    }
    void openProgress(const QString &, std::function<void()> cancel) override { onCancel = cancel; }
    void setProgress(double value, const QString &label) override
    {
        calls << "progress:" + label;
        if (onProgress)
            onProgress(value);
    }
    void closeProgress() override { calls << "close"; }
};

struct FakeToolDelegate : ToolViewDelegate
{
    QList<int> results;
    int closed = 0; // closeToolWindow calls
    QEventLoop *loop = nullptr;
    void toolWindowClosed(int result) override
    {
        results << result;
        if (loop)
            loop->quit();
    }
    void closeToolWindow() override { ++closed; }
};

template <class View> class TrimViewTest : public ::testing::Test
{
protected:
    static constexpr bool IS_PANEL = std::is_same_v<View, ToolDialogView>;

    View &open(const ToolInfo &info, bool date = false)
    {
        _settings.expDlgDateTime = date;
        _view = std::make_unique<View>(_settings);
        if constexpr (!std::is_same_v<View, CaptureView>)
            _view->setWorkFolderBase(_dir.filePath("TMP"));
        _view->toolinfo = info;
        _view->delegate = &_delegate;
        auto prompts = std::make_unique<FakeToolPrompts>();
        _prompts = prompts.get();
        _view->setPrompts(std::move(prompts));
        if constexpr (IS_PANEL) {
            _view->show();
            _view->viewDidAppear();
        } else {
            _view->setupControls();
        }
        return *_view;
    }
    bool busy() const
    {
        if constexpr (std::is_same_v<View, TrimView>)
            return _view->isRunning();
        else
            return _view->isBusy();
    }
    // A tool opens its first save panel in Documents, the panel on the Desktop; else in the home folder.
    static QString firstFolder()
    {
        const QString folder = IS_PANEL ? QDir::homePath() + "/Desktop" : UserDefaultUtil::documentsPath();
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
        {3599999, true, false, {longJob.arg("59Minutes")}},
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
    MessageCapture console;
    this->runTrim(clip);
    EXPECT_EQ(console.count(QtDebugMsg, ""), 0) << "the ffmpeg commands are debug lines, off unless asked";
    EXPECT_EQ(this->_delegate.results, QList<int>{ToolViewDelegate::Saved});
    EXPECT_EQ(this->_prompts->calls.filter("alert:").join(','), "alert:Saved");
    const std::vector<double> &values = this->_progress;
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 100.0);
    EXPECT_TRUE(std::all_of(values.begin(), values.end() - 1, [](double v) { return v <= 99.0; }));
    EXPECT_EQ(this->_prompts->calls.filter("progress:").last(), "progress:100%");
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

// In its window (a dialog, whose buttons take Return by themselves) the tool's Return goes to Save, which
// starts nothing while a job runs: Return or Enter on the focused control neither ends the job nor the tool.
TYPED_TEST(TrimViewTest, ReturnInTheToolsWindowWhileItsJobRunsLeavesTheJobRunning)
{
    const QString program = this->_dir.write("endless", "#!/bin/sh\nexec sleep 600\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDialog window;
    auto *layout = new QVBoxLayout(&window);
    auto &view = this->open(ToolTestCard::shared().tripInfo(ToolType::Trim, 4000));
    layout->addWidget(&view);
    view.show();
    view.setFfmpegProgram(program);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    this->_prompts->destination = this->_dir.filePath("running.mp4");
    view.saveAction();
    ASSERT_TRUE(this->busy());
    const auto saves = this->_prompts->calls.filter("save:").size();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused && focused->window() == &window ? focused : &window, key);
    }
    EXPECT_TRUE(this->busy());
    EXPECT_TRUE(this->_delegate.results.isEmpty()) << "neither Back nor Cancel was pressed";
    EXPECT_EQ(this->_prompts->calls.filter("save:").size(), saves) << "Save starts nothing while a job runs";
    ASSERT_TRUE(this->_prompts->onCancel);
    std::exchange(this->_prompts->onCancel, nullptr)();
    while (this->busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    view.setParent(nullptr);
}

// The save panel reaches the card's own files: each is refused before any job starts, as is a folder
// that takes no file.
TYPED_TEST(TrimViewTest, CardFilesAndUnwritableFoldersAreRefusedBeforeTheJob)
{
    const ToolInfo info = ToolTestCard::shared().tripInfo(ToolType::Trim, 4000);
    const QString move = ToolTestCard::shared().dir.filePath("MOVE");
    const ReadOnlyFolder locked(this->_dir.filePath("locked"));
    const QString inCard = "alert:" + WriteDestination::sourceConflictText();
    std::vector<std::pair<QString, QString>> cases{
        {info.chapterList.front()->_pathMp4.toLocalFile(), inCard},
        {move + "/VREC_MOV_MNG.DAT", inCard},
        {move + "/MOV_PRCT.DAT", inCard},
        {move + "/SETINF.DAT", inCard},
        {move + "/ver.txt", inCard},
        {move + "/MOVE001/new.mp4", inCard},
    };
    if (locked.active())
        cases.emplace_back(locked.path() + "/clip.mp4", "alert:" + WriteDestination::folderProblemText());
    for (const auto &[destination, alert] : cases) {
        const QByteArray before = readAll(destination);
        this->open(info);
        this->_prompts->destination = destination;
        this->_view->saveAction();
        EXPECT_FALSE(this->busy());
        EXPECT_TRUE(this->_prompts->calls.filter("progress:").isEmpty());
        EXPECT_EQ(this->_prompts->calls.last(), alert) << destination.toStdString();
        EXPECT_EQ(readAll(destination), before);
        EXPECT_TRUE(this->_settings.pathDirCut.isEmpty()) << "a refused folder is not remembered";
    }
}

// The failure alert keeps its text and says why: ffmpeg's last line. The commands reach the console
// only when the trim's debug lines are asked for.
TYPED_TEST(TrimViewTest, FailedCutSaysWhatFfmpegSaidLast)
{
    const QString program =
        this->_dir.write("ffmpeg-fails", "#!/bin/sh\necho 'Stream mapping:' >&2\n"
                                         "echo 'clip.mp4: Invalid argument' >&2\nexit 1\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QLoggingCategory::setFilterRules("orv.videotools.trim.debug=true");
    MessageCapture console;
    auto &view = this->open(ToolTestCard::shared().tripInfo(ToolType::Trim, 4000));
    view.setFfmpegProgram(program);
    this->_prompts->destination = this->_dir.filePath("clip.mp4");
    QEventLoop loop;
    this->_prompts->loop = &loop;
    view.saveAction();
    loop.exec();
    while (this->busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QLoggingCategory::setFilterRules({});
    EXPECT_EQ(this->_prompts->calls.filter("alert:").join(','), "alert:Cut was unsuccessful.");
    EXPECT_EQ(this->_prompts->causes.last(), "clip.mp4: Invalid argument");
    EXPECT_GT(console.count(QtDebugMsg, "orv.videotools.trim"), 0);
    EXPECT_FALSE(QFile::exists(this->_dir.filePath("clip.mp4")));
}

// A volume that runs full during the job: the failure alert names it, as the backup's does, not
// ffmpeg's last words. The volume has room enough for the checks before the job; the ffmpeg that the job
// starts fills it first.
TYPED_TEST(TrimViewTest, FullVolumeIsNamedInTheFailureAlert)
{
    SmallVolume volume(this->_dir.filePath("volume"), 40);
    if (!volume.active())
        GTEST_SKIP() << volume.whyNot().toStdString();
    const QString program = this->_dir.write(
        "ffmpeg-fills", QString("#!/bin/sh\ncat /dev/zero > '%1/filler.'$$ 2>/dev/null\nexec ffmpeg \"$@\"\n")
                            .arg(volume.path())
                            .toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto &view = this->open(ToolTestCard::shared().tripInfo(ToolType::Trim, 4000));
    view.setFfmpegProgram(program);
    const QString clip = volume.path() + "/clip.mp4";
    this->_prompts->destination = clip;
    QEventLoop loop;
    this->_prompts->loop = &loop;
    view.saveAction();
    if (this->busy())
        loop.exec();
    while (this->busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(this->_prompts->calls.filter("alert:").join(','), "alert:Cut was unsuccessful.");
    EXPECT_EQ(this->_prompts->causes.last().toStdString(),
              (clip + ": " + QString::fromLocal8Bit(std::strerror(ENOSPC))).toStdString());
    EXPECT_TRUE(this->_delegate.results.isEmpty());
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

template <class View> class CaptureViewTest : public TrimViewTest<View>
{
};
using CaptureViews = ::testing::Types<CaptureView, ToolDialogView>;
TYPED_TEST_SUITE(CaptureViewTest, CaptureViews);

// The player's brightness slider as each tool brightens its still: the capture tool darkens by up to 0.3
// and brightens by 0.1 a step, the panel moves a quarter of full scale a step on both sides.
TYPED_TEST(CaptureViewTest, TheStillTakesTheToolsOwnBrightness)
{
    const auto capture = [this](double slider) {
        ToolInfo info = ToolTestCard::shared().tripInfo(ToolType::Capture);
        info.brightBarVal = slider;
        this->_settings.expDlgSpeed = this->_settings.expDlgAcceleration = this->_settings.expDlgPoint =
            false;
        auto &view = this->open(info);
        const QString still = this->_dir.filePath(QStringLiteral("still-%1.jpeg").arg(slider));
        this->_prompts->destination = still;
        QEventLoop loop;
        this->_prompts->loop = &loop;
        view.saveAction();
        if (this->busy())
            loop.exec();
        return QImageReader(still).read().convertToFormat(QImage::Format_RGB32);
    };
    const QImage neutral = capture(1.0);
    ASSERT_FALSE(neutral.isNull());
    // Slider, offset of the capture tool, offset of the panel (full scale 1.0).
    const std::tuple<double, double, double> rows[] = {{0.0, -0.3, -0.25}, {3.0, 0.2, 0.5}, {5.0, 0.4, 1.0}};
    for (const auto &[slider, toolOffset, panelOffset] : rows) {
        SCOPED_TRACE(slider);
        QImage expected = neutral;
        StillCapture::applyBrightness(expected, this->IS_PANEL ? panelOffset : toolOffset);
        const QImage still = capture(slider);
        ASSERT_EQ(still.size(), neutral.size());
        // Within what saving as JPEG once more adds; the two rules differ by 30 levels and more at 3 and 5.
        EXPECT_NEAR(meanGrey(still), meanGrey(expected), 5.0);
    }
}

TYPED_TEST(CaptureViewTest, SavesOrRefusesClosesOnlyAfterSuccessAndStoresTheChoices)
{
    ToolTestCard &card = ToolTestCard::shared();
    ToolInfo missing = card.tripInfo(ToolType::Capture);
    missing.chapter = std::make_shared<ChapterData>(QUrl::fromLocalFile(this->_dir.filePath("gone.MP4")),
                                                    nullptr, ChapterData::Records{});
    const struct
    {
        ToolInfo info;
        bool isMovieMissing;
        const char *alert;
        int closed;
        bool isSpeedOn; // the stored choice as the view shows it
    } cases[] = {{card.tripInfo(ToolType::Capture), false, "alert:Saved", 1, true},
                 {card.clipInfo(ToolType::Capture), false, "alert:Saved", 2, false},
                 {missing, true, "alert:Unable to save the image.", 2, false}};
    this->_settings.expDlgSpeed = true;
    const QString still = this->_dir.filePath("still.jpeg");
    for (const auto &c : cases) {
        auto &view = this->open(c.info);
        this->_prompts->destination = still;
        QFile::remove(still);
        QEventLoop loop;
        this->_prompts->loop = &loop;
        view.saveAction();
        if (!c.isMovieMissing) {
            EXPECT_TRUE(this->busy());
            loop.exec();
        }
        EXPECT_EQ(this->_prompts->calls.last(), c.alert);
        EXPECT_EQ(this->_prompts->causes.last(),
                  c.isMovieMissing ? this->_dir.filePath("gone.MP4") + ": No such file or directory" : "");
        // Only the first save starts where no stored folder exists yet; later ones in the stored folder.
        const QString folder = c.closed == 1 ? this->firstFolder() : this->_dir.path();
        EXPECT_EQ(this->_prompts->calls.front(), "save:" + folder + ":jpeg");
        EXPECT_EQ(this->_delegate.closed, c.closed);
        EXPECT_EQ(QImageReader(still).format(), c.isMovieMissing ? "" : "jpeg");
        // A trimmed clip: the boxes are off and disabled, so nothing is written into the still.
        const auto boxes = view.template findChildren<QCheckBox *>();
        EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(), [](auto *b) { return b->isEnabled(); }),
                  view.cutFlg() ? 0 : 4);
        EXPECT_EQ(view.checkedFlags().isSpeed, c.isSpeedOn);
    }
    // The clip's boxes, all off, were stored with the folder.
    UserDefaultUtil reread(this->_dir.filePath("settings.ini"));
    reread.load();
    EXPECT_FALSE(reread.expDlgDateTime || reread.expDlgSpeed || reread.expDlgAcceleration ||
                 reread.expDlgPoint);
    EXPECT_EQ(reread.pathDirCap, this->_dir.path());

    // A still that cannot be written names its file and the system's reason (a folder stands where
    // the file would go: the destination's folder takes new files, so it passes the early checks).
    auto &view = this->open(card.tripInfo(ToolType::Capture));
    const QString taken = this->_dir.filePath("taken/still.jpeg");
    ASSERT_TRUE(QDir().mkpath(taken));
    this->_prompts->destination = taken;
    QEventLoop loop;
    this->_prompts->loop = &loop;
    view.saveAction();
    loop.exec();
    EXPECT_EQ(this->_prompts->calls.last(), "alert:Unable to save the image.");
    EXPECT_TRUE(this->_prompts->causes.last().startsWith(taken + ": "))
        << this->_prompts->causes.last().toStdString();
}

TYPED_TEST(CaptureViewTest, CardFileIsRefusedBeforeTheCapture)
{
    const QString settings = ToolTestCard::shared().dir.filePath("MOVE/SETINF.DAT");
    const QByteArray before = readAll(settings);
    auto &view = this->open(ToolTestCard::shared().tripInfo(ToolType::Capture));
    this->_prompts->destination = settings;
    view.saveAction();
    EXPECT_FALSE(this->busy());
    EXPECT_EQ(this->_prompts->calls.last(), "alert:" + WriteDestination::sourceConflictText());
    EXPECT_EQ(readAll(settings), before);
}

using ToolDialogViewTest = TrimViewTest<ToolDialogView>;

TEST_F(ToolDialogViewTest, ControlsOfEachLayout)
{
    ToolTestCard &card = ToolTestCard::shared();
    const struct
    {
        ToolInfo info;
        bool back, warning, notAdd;
    } cases[] = {
        {card.tripInfo(ToolType::Trim), true, true, false},
        {card.clipInfo(ToolType::Trim), true, true, true},
        {card.tripInfo(ToolType::Capture), false, false, false},
        {card.clipInfo(ToolType::Capture), false, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.info.type) * 2 + c.notAdd);
        ToolDialogView &view = open(c.info);
        EXPECT_EQ((std::array{view.btnBack->isVisible(), view.lblWarning->isVisible(),
                              view.lblNotAdd->isVisible()}),
                  (std::array{c.back, c.warning, c.notAdd}));
        // Save and Cancel sit on one row, as far from the edges, below the last text row.
        EXPECT_EQ(view.btnSave->y(), view.btnCancel->y());
        EXPECT_EQ(view.width() - view.btnCancel->geometry().right() - 1, view.btnSave->x());
        const QLabel *above = c.notAdd ? view.lblNotAdd : c.warning ? view.lblWarning : nullptr;
        EXPECT_GT(view.btnSave->y(), above ? above->geometry().bottom() : view.chkDate->geometry().bottom());
    }
}

TEST_F(ToolDialogViewTest, CaptureSavePanelFolderAndTheCloseResults)
{
    // A stored folder that has gone: the save panel falls back.
    _settings.pathDirCap = _dir.filePath("gone");
    open(ToolTestCard::shared().tripInfo(ToolType::Capture, 1000)).saveAction();
    EXPECT_EQ(_prompts->calls.last(), "save:" + firstFolder() + ":jpeg");
    _view->cancelAction(); // capture: the window is only closed
    _view->backAction();
    open(ToolTestCard::shared().tripInfo(ToolType::Trim)).cancelAction();
    EXPECT_EQ(_delegate.closed, 1);
    EXPECT_EQ(_delegate.results, (QList<int>{ToolViewDelegate::Back, ToolViewDelegate::Cancel}));
}

} // namespace
