// tooldemo: opens the trim tool on a generated trip as the main window will, for manual checks and
// screenshots under Xvfb.
//   tooldemo [--card MOVE_PATH] [--trip N] [--from MS] [--to MS] [--clip] [--press-save] [--save-to FILE]
//            [--quit-after MS] [--screenshot FILE]
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimView.h"
#include "videotools/TrimWorker.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QFileInfo>
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
    std::optional<QString> chooseDestination(const QString &folder, const QString &extension) override
    {
        if (_destination.isEmpty())
            return TrimDialogs::chooseDestination(folder, extension);
        return _destination;
    }

private:
    QString _destination;
};

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
        {"quit-after", "Quit after this many ms.", "MS"},
        {"screenshot", "Save the screen to this file just before quitting.", "FILE"},
    });
    parser.process(app);

    QTemporaryDir scratch;
    QString movePath = parser.value("card");
    if (movePath.isEmpty()) {
        SampleScenario scenario = SampleScenario::standard();
        scenario.keyFrameInterval = 10;
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

    UserDefaultUtil settings(QDir(scratch.path()).filePath("settings.ini"));
    settings.expDlgDateTime = true;
    settings.expDlgSpeed = true;
    QDialog window;
    window.setWindowTitle(QCoreApplication::translate("TrimView", "Trim Tool"));
    DemoDelegate delegate(window);
    auto *view = new TrimView(settings, &window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    view->toolinfo = info;
    view->delegate = &delegate;
    view->setPrompts(std::make_unique<DemoDialogs>(view, parser.value("save-to")));
    view->setupControls();
    window.resize(500, 135);
    window.move(40, 40);

    if (parser.isSet("press-save"))
        QTimer::singleShot(300, view, &TrimView::saveAction);
    if (parser.isSet("quit-after")) {
        QTimer::singleShot(parser.value("quit-after").toInt(), &app, [&] {
            if (parser.isSet("screenshot"))
                QGuiApplication::primaryScreen()->grabWindow(0).save(parser.value("screenshot"));
            QApplication::exit(0);
        });
    }
    window.show();
    const int code = app.exec();
    clipCard.dispose();
    card.dispose();
    return code;
}
