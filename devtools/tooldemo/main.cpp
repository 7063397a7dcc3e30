// tooldemo: opens a video tool on a generated trip as the main window will, for manual checks and
// screenshots under Xvfb: the trim tool, the capture tool, the tool panel (which nothing else opens; the
// application's own, with its task progress dialog) or the stopwatch.
//   tooldemo [--card MOVE_PATH] [--trip N] [--from MS] [--to MS] [--clip] [--press-save] [--save-to FILE]
//            [--capture] [--panel] [--position MS] [--brightness X] [--show-still] [--video-size WxH]
//            [--stopwatch MARKS] [--mph] [--quit-after MS] [--screenshot FILE]
#include "app/ToolWindows.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "maintenance/MessageBoxPrompter.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/UserDefaultUtil.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/CaptureView.h"
#include "videotools/StopWatchView.h"
#include "videotools/ToolDialogView.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimView.h"
#include "videotools/TrimWorker.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// Stands in for the main window: ends the tool window's run and says why.
class DemoDelegate : public ToolViewDelegate
{
public:
    explicit DemoDelegate(QDialog &window) : _window(window) {}
    void toolWindowClosed(int result) override
    {
        std::fprintf(stderr, "tooldemo: toolWindowClosed(%d)\n", result);
        QTimer::singleShot(0, &_window, &QDialog::reject);
    }
    void closeToolWindow() override { QTimer::singleShot(0, &_window, &QDialog::reject); }

private:
    QDialog &_window;
};

// The Qt dialogs, with the save panel answered by the command line.
class DemoDialogs : public TrimDialogs
{
public:
    DemoDialogs(QWidget *parent, QString destination)
        : TrimDialogs(parent), _destination(std::move(destination))
    {
    }
    // Scripted runs (a file given) report alerts on the console instead of waiting for a click.
    void showAlert(Style style, const QString &title, const QString &text, const QString &cause = {}) override
    {
        if (_destination.isEmpty())
            return TrimDialogs::showAlert(style, title, text, cause);
        std::fprintf(stderr, "tooldemo: alert %s: %s%s\n", qPrintable(title), qPrintable(text),
                     qPrintable(cause.isEmpty() ? QString() : " (" + cause + ")"));
    }
    std::optional<QString> chooseDestination(const QString &folder, const QString &extension) override
    {
        if (_destination.isEmpty())
            return TrimDialogs::chooseDestination(folder, extension);
        return _destination;
    }

private:
    QString _destination;
};

// The application's save panel answered with a file as a user types it, once it shows.
void answerSavePanels(QObject *context, const QString &file)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, [file] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *panel = qobject_cast<QFileDialog *>(window);
            if (!panel || !panel->isVisible())
                continue;
            if (auto *field = panel->findChild<QLineEdit *>("fileNameEdit"))
                field->setText(file);
            QMetaObject::invokeMethod(panel, "accept");
        }
    });
    poll->start(100);
}

// Stands in for the main window's track bar and stopwatch button.
class DemoStopWatchDelegate : public StopWatchViewDelegate
{
public:
    void updateStopWatchMarkers(const StopWatchMarkers &m) override
    {
        QStringList laps;
        for (const int64_t lap : m.lapMs)
            laps << QString::number(lap);
        std::fprintf(stderr, "tooldemo: markers status %d start %lld laps [%s] stop %lld last %lld\n",
                     int(m.status), static_cast<long long>(m.startMs), qPrintable(laps.join(',')),
                     static_cast<long long>(m.stopMs), static_cast<long long>(m.lastMarkMs));
    }
    void stopWatchHidden() override { std::fprintf(stderr, "tooldemo: stopwatch hidden\n"); }
};

// The still just saved, in a window of its own for the screenshot.
void showStill(const QString &path)
{
    auto *label = new QLabel;
    label->setAttribute(Qt::WA_DeleteOnClose);
    const QPixmap still(path);
    label->setPixmap(still);
    label->setFixedSize(still.size()); // a new window would otherwise be capped at 2/3 of the screen
    label->setWindowTitle(QFileInfo(path).fileName());
    label->move(40, 200);
    label->show();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Opens the trim tool on a trip of a card (a generated one by default).");
    parser.addHelpOption();
    parser.addOptions({
        {"card", "The card's MOVE folder (default: a generated card).", "MOVE_PATH"},
        {"trip", "Trip index in the card library's order.", "N", "0"},
        {"from", "Selection start, ms on the trip's timeline.", "MS", "1000"},
        {"to", "Selection end, ms on the trip's timeline.", "MS", "9000"},
        {"clip", "Open a trimmed clip of the selection instead of the trip."},
        {"press-save", "Press Save once the window is shown."},
        {"save-to", "Answer the save panel with this file.", "FILE"},
        {"capture", "The capture tool (with --panel: the tool panel's capture) instead of the trim tool."},
        {"panel", "The tool panel instead of the separate tool."},
        {"position", "Capture position, ms on the trip's timeline (default: --to).", "MS"},
        {"brightness", "The player's brightness slider for the capture (0 to 5).", "X", "1.0"},
        {"show-still", "Show the captured still in a window once it is saved."},
        {"video-size", "Picture size of the generated card's movies.", "WxH"},
        {"stopwatch", "The stopwatch with these marks: start, laps..., then the running position.",
         "MS,MS,..."},
        {"mph", "Speeds in MPH."},
        {"quit-after", "Quit after this many ms.", "MS"},
        {"screenshot", "Save the screen to this file just before quitting.", "FILE"},
    });
    parser.process(app);

    QTemporaryDir scratch;
    QString movePath = parser.value("card");
    if (movePath.isEmpty()) {
        SampleScenario scenario = SampleScenario::standard();
        scenario.keyFrameInterval = 10;
        if (const QStringList size = parser.value("video-size").split('x'); size.size() == 2) {
            scenario.videoWidth = size[0].toInt();
            scenario.videoHeight = size[1].toInt();
        }
        SampleCardWriter writer(scenario);
        if (!writer.writeCard(scratch.path())) {
            std::fprintf(stderr, "tooldemo: %s\n", qPrintable(writer.lastError()));
            return 1;
        }
        movePath = SampleCardWriter::cardFolder(scratch.path());
    }
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(QFileInfo(movePath).absoluteFilePath()));
    const size_t tripIndex = parser.value("trip").toULongLong();
    if (tripIndex >= card._tripList.size()) {
        std::fprintf(stderr, "tooldemo: the card has %zu trips\n", card._tripList.size());
        return 1;
    }
    ToolInfo info;
    info.chapterList = card._tripList[tripIndex]->sortedChapters();
    info.selectStartSumFrameTS = parser.value("from").toLongLong();
    info.selectEndSumFrameTS = parser.value("to").toLongLong();

    CardData clipCard;
    if (parser.isSet("clip")) {
        TrimRequest request;
        request.chapters = info.chapterList;
        request.startMs = *info.selectStartSumFrameTS;
        request.endMs = *info.selectEndSumFrameTS;
        request.flags = {true, true, false, false};
        request.destination = QDir(scratch.path()).filePath("clip.mp4");
        request.workFolderBase = CommonConst::DIR_PATH_TMP();
        TrimWorker worker(request);
        if (worker.run() != TrimWorker::Result::Saved) {
            std::fprintf(stderr, "tooldemo: %s\n", qPrintable(worker.errorText()));
            return 1;
        }
        clipCard.loadCardFolder(FileUtil::fileUrl(request.destination));
        info.chapterList = clipCard._tripList.front()->sortedChapters();
        info.selectStartSumFrameTS = 0;
        info.selectEndSumFrameTS = 4000;
    }
    info.chapter = info.chapterList.front();
    info.openSourcePath = parser.isSet("clip") ? clipCard._openSourcePath : card._openSourcePath;

    UserDefaultUtil settings(QDir(scratch.path()).filePath("settings.ini"));
    settings.expDlgDateTime = true;
    settings.expDlgSpeed = true;
    settings.speedMeter = !parser.isSet("mph");
    const bool capture = parser.isSet("capture");
    const int32_t position =
        int32_t(parser.value("position").isEmpty() ? *info.selectEndSumFrameTS
                                                   : parser.value("position").toLongLong());
    if (capture) {
        // What the main window hands the capture: the chapter shown at the position and its movie time.
        int64_t index = 0;
        int32_t offset = 0;
        PictureDataUtil::getChapterPosition(info.chapterList, position, index, offset);
        info.type = ToolType::Capture;
        info.chapter = info.chapterList[size_t(index)];
        info.selectEndSumFrameTS = position;
        info.currentCMtimeMs =
            PictureDataUtil::getMovieTimeStamp(info.chapterList, position).value_or(offset);
        info.brightBarVal = parser.value("brightness").toDouble();
        if (const auto picture = info.chapter->getPicture(true); picture && picture->video)
            info.recMode = picture->video->recMode();
    }

    QDialog window;
    DemoDelegate delegate(window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    window.move(40, 40);
    MessageBoxPrompter prompter;
    // No main window here: the panel's progress and alerts centre on the screen.
    ToolWindows panelMaker(settings, prompter, nullptr, {});
    DemoStopWatchDelegate stopWatchDelegate;
    std::unique_ptr<StopWatchView> stopWatch;
    std::function<void()> pressSave;

    if (parser.isSet("stopwatch")) {
        stopWatch = std::make_unique<StopWatchView>(settings);
        stopWatch->setDelegate(&stopWatchDelegate);
        stopWatch->model().setChapterDataList(info.chapterList);
        stopWatch->setupWindow();
        stopWatch->move(40, 40);
        stopWatch->show();
        // Plays the marks: START at the first, LAP at each next one, the running lap up to the last.
        const QStringList marks = parser.value("stopwatch").split(',', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < marks.size(); ++i) {
            stopWatch->setCurrentSumFrameTimeSpan(marks[i].toLongLong());
            if (i == 0)
                stopWatch->startStop();
            else if (i + 1 < marks.size())
                stopWatch->lapReset();
        }
        stopWatch->redrawLaps();
    } else if (parser.isSet("panel")) {
        std::unique_ptr<ToolDialogView> panel = panelMaker.makeToolPanel();
        panel->setParent(&window);
        ToolDialogView *view = panel.release();
        layout->addWidget(view);
        view->toolinfo = info;
        view->delegate = &delegate;
        if (parser.isSet("save-to"))
            answerSavePanels(&window, parser.value("save-to"));
        window.show();
        view->viewDidAppear();
        pressSave = [view] { view->saveAction(); };
    } else if (capture) {
        window.setWindowTitle(QCoreApplication::translate("CaptureView", "Capture Image"));
        auto *view = new CaptureView(settings, &window);
        layout->addWidget(view);
        view->toolinfo = info;
        view->delegate = &delegate;
        view->setPrompts(std::make_unique<DemoDialogs>(view, parser.value("save-to")));
        view->setupControls();
        window.resize(500, 110);
        if (parser.isSet("show-still"))
            QObject::connect(view, &CaptureView::captureFinished,
                             [path = parser.value("save-to")](bool saved) {
                                 if (saved)
                                     showStill(path);
                             });
        pressSave = [view] { view->saveAction(); };
    } else {
        window.setWindowTitle(QCoreApplication::translate("TrimView", "Trim Tool"));
        auto *view = new TrimView(settings, &window);
        layout->addWidget(view);
        view->toolinfo = info;
        view->delegate = &delegate;
        view->setPrompts(std::make_unique<DemoDialogs>(view, parser.value("save-to")));
        view->setupControls();
        window.resize(500, 135);
        pressSave = [view] { view->saveAction(); };
    }

    if (parser.isSet("press-save") && pressSave)
        QTimer::singleShot(300, &window, pressSave);
    if (parser.isSet("quit-after")) {
        QTimer::singleShot(parser.value("quit-after").toInt(), &app, [&] {
            if (parser.isSet("screenshot"))
                QGuiApplication::primaryScreen()->grabWindow(0).save(parser.value("screenshot"));
            QApplication::exit(0);
        });
    }
    if (!stopWatch)
        window.show();
    const int code = app.exec();
    stopWatch.reset();
    clipCard.dispose();
    card.dispose();
    return code;
}
