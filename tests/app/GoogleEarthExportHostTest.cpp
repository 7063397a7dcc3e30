// The Google Earth export through the host the main window builds: the playing item taken from the
// window's own player and list, the shared save panel and the alerts, all real.
#include "app/CardOpener.h"
#include "app/GoogleEarthExportHostImpl.h"
#include "app/ItemPlayback.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/ModalRunner.h"
#include "app/ModalWindow.h"
#include "app/PlaybackControl.h"
#include "app/WindowCoordinators.h"
#include "card/ChapterData.h"
#include "card/RecentPictures.h"
#include "map/KmzExporter.h"
#include "player/MoviePlayerView.h"
#include "recording/UserDefaultUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/EventLoop.h"
#include "support/HomeFolder.h"
#include "support/ModalAnswerer.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "../player/FakeMediaEngine.h"
#include "AppFakes.h"
#include "OpenedWindow.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>

namespace {
// What the save panel showed when it opened; it is then answered with the file to write.
struct PanelAnswer
{
    QString file; // empty: cancel
    QString folder, name;
    int shown = 0;
    void operator()(QWidget *modal)
    {
        auto *panel = qobject_cast<QFileDialog *>(modal);
        if (!panel)
            return;
        ++shown;
        folder = panel->directory().absolutePath();
        auto *field = panel->findChild<QLineEdit *>("fileNameEdit");
        name = field ? field->text() : "<no name field>";
        if (file.isEmpty()) {
            panel->reject();
            return;
        }
        // Typed as a user would: selectFile() leaves a name field that has the focus alone.
        if (field)
            field->setText(file);
        QMetaObject::invokeMethod(panel, "accept"); // as the Save button does
        if (panel->isVisible())
            panel->reject(); // refused: the test fails on the missing file rather than hanging
    }
};

// What a KML reader finds in the file: "layer:features" for every layer.
QString readerView(const QString &kmz)
{
    QProcess ogrinfo;
    ogrinfo.start("ogrinfo", {"-ro", "-al", "-so", kmz});
    if (!ogrinfo.waitForFinished(-1) || ogrinfo.exitCode() != 0)
        return "unreadable";
    const QString all = QString::fromUtf8(ogrinfo.readAllStandardOutput());
    QStringList view;
    for (const auto &match :
         QRegularExpression("Layer name: (\\S+)\\n(?:.*\\n)*?Feature Count: (\\d+)").globalMatch(all))
        view << match.captured(1) + ":" + match.captured(2);
    return view.join(' ');
}

// The KML text inside an archive.
QByteArray kmlOf(const QString &kmz)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", kmz});
    return unzip.waitForFinished(-1) && unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : "unreadable";
}

ModalWindow *shownProgressWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *window = qobject_cast<ModalWindow *>(widget);
        if (window && window->isVisible() && window->type() == ModalWindow::Type::TaskProgress)
            return window;
    }
    return nullptr;
}

void clickCancel(ModalWindow &window)
{
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->text() == "Cancel")
            button->click();
    }
}

// Every progress window as it shows, before anything else can happen; with cancel, its Cancel is pressed
// right then.
struct ProgressWatch : QObject
{
    explicit ProgressWatch(bool cancel) : cancel(cancel) { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *window = qobject_cast<ModalWindow *>(object);
        if (event->type() == QEvent::Show && window && window->type() == ModalWindow::Type::TaskProgress) {
            titles << window->windowTitle();
            applicationModal = window->windowModality() == Qt::ApplicationModal;
            if (cancel)
                clickCancel(*window);
        }
        return false;
    }

    bool cancel;
    QStringList titles;
    bool applicationModal = false;
};
} // namespace

// An event and a surveillance recording played in the main window export from their list records.
TEST(GoogleEarthExportHostTest, EventAndSurveillanceExportThroughTheWindowsHost)
{
    HomeFolder home; // without Documents
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.conf"));
    settings.load();
    settings.setPathDirGoogleEarth(QUrl::fromLocalFile(dir.filePath("gone")));
    FakePrompter prompter;
    const std::unique_ptr<MainWindow> started = startedWindow(settings, prompter);
    MainWindow &window = *started;
    ASSERT_TRUE(openSource(window, writtenSampleCard()));

    const QString out = dir.filePath("exports");
    ASSERT_TRUE(QDir().mkpath(out));
    const struct
    {
        const char *what;
        std::function<bool()> play;
        QString file, view, startFolder;
    } cases[] = {
        {"event", [&] { return window.itemPlayback().playEventItem(0, true); }, out + "/event.kmz",
         "Event:1 Route:1", home.home.path()},
        {"surveillance", [&] { return window.itemPlayback().playSurveillanceItem(0, true); },
         out + "/surveillance.kmz", "Event:1 Route:1", out},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.play());
        MoviePlayerView *player = window.panels()->moviePlayerView();
        ASSERT_TRUE(EventLoop::waitUntil([&] { return window.isPlayerActive(); }));
        PanelAnswer panel{c.file};
        ModalAnswerer answerer(std::ref(panel));
        window.coordinators()->exportGoogleEarthFile();
        EXPECT_EQ(panel.shown, 1);
        // No Documents: the first export starts at home; the next one where the first was saved.
        EXPECT_EQ(panel.folder, QDir(c.startFolder).absolutePath());
        EXPECT_EQ(panel.name, "") << "never a folder's name";
        ASSERT_EQ(answerer.boxes.size(), 1u) << "the question to open Google Earth";
        EXPECT_EQ(answerer.boxes[0].informative, "Launch Google Earth now?");
        EXPECT_EQ(readerView(c.file), c.view);
        EXPECT_NE(player->currentStatus(), CommonConst::PlayStatus::Play) << "paused for the export";
    }
}

// The host's warning keeps the text the command gives and shows the cause as the alert's detail.
TEST(GoogleEarthExportHostTest, FailureWarningShowsTheCauseAsDetail)
{
    FakePlayback playback;
    MoviePlayerView player{[] { return std::make_unique<FakeMediaEngine>(); }};
    GoogleEarthExportHostImpl host(playback, player, [] { return nullptr; }, nullptr, {}, {});
    ModalAnswerer answerer;
    host.showWarning("Warning", "The file could not be saved.", "/out/x.kmz: No such file or directory");
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].text, "Warning");
    EXPECT_EQ(answerer.boxes[0].informative, "The file could not be saved.");
    EXPECT_EQ(answerer.boxes[0].detailed, "/out/x.kmz: No such file or directory");
}

// A trip longer than the driving data kept for its recent chapters is exported behind an application-modal
// progress window, its recordings read on another thread and none on the main thread. Cancel, pressed as
// the window shows, leaves no file and no alert; without it the file holds what the exporter writes alone.
TEST(GoogleEarthExportHostTest, ATripIsReadOffTheMainThreadBehindTheProgressWindow)
{
    constexpr int CHAPTERS = int(RecentPictures::CAPACITY) + 8;
    TempDir cardDir;
    SampleScenario scenario = SampleScenario::chapters(CHAPTERS, 2000);
    scenario.movieMs = 500;
    ASSERT_TRUE(SampleCardWriter(scenario).writeCard(cardDir.path()));
    HomeFolder home;
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("s.conf"));
    settings.load();
    FakePrompter prompter;
    const std::unique_ptr<MainWindow> window = startedWindow(settings, prompter);
    ASSERT_TRUE(openSource(
        *window, QUrl::fromLocalFile(SampleCardWriter::cardFolder(cardDir.path()) + QStringLiteral("/"))));
    ASSERT_TRUE(EventLoop::waitUntil([&] { return window->cardData()->loadWorkersDone(); }));
    ASSERT_TRUE(window->itemPlayback().playTripItem(0, 0, true, true));
    ASSERT_TRUE(EventLoop::waitUntil([&] { return window->isPlayerActive(); }));
    // The pause that comes with an export reads the playing chapter if it has to; paused already, it does
    // not.
    window->panels()->moviePlayerView()->pauseMovie();
    const ChapterList chapters = window->cardData()->_tripList.front()->sortedChapters();
    ASSERT_EQ(chapters.size(), size_t(CHAPTERS));
    const QString reference = dir.filePath("reference/trip.kmz");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(reference).path()));
    ASSERT_TRUE(KmzExporter(settings).exportTripKml(chapters, reference));

    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "exported");
        // Each case a file of its own: the save panel would ask before replacing one.
        const QString file = dir.filePath(cancel ? "cancelled/trip.kmz" : "exported/trip.kmz");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        ProgressWatch progress(cancel);
        PanelAnswer panel{file};
        ModalAnswerer answerer(std::ref(panel));
        // Only the chapters used last keep their driving data: the export reads the others again. The
        // panels read the playing chapter's whenever they repaint, which the save panel and the progress
        // window let them do: held here, every read counted is the export's.
        RecentPictures::shared().clear();
        const auto playing = chapters.front()->getPicture(true);
        const uint64_t before = ChapterData::mainThreadReads();
        window->coordinators()->exportGoogleEarthFile();
        EXPECT_EQ(ChapterData::mainThreadReads(), before) << "recordings read on the main thread";
        EXPECT_EQ(progress.titles.join(", ").toStdString(), "Export to Google Earth File");
        EXPECT_TRUE(progress.applicationModal);
        EXPECT_EQ(shownProgressWindow(), nullptr);
        if (cancel) {
            EXPECT_FALSE(QFileInfo::exists(file));
            EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxes[0].informative.toStdString();
        } else {
            ASSERT_EQ(answerer.boxes.size(), 1u);
            EXPECT_EQ(answerer.boxes[0].informative, "Launch Google Earth now?");
            EXPECT_EQ(kmlOf(file), kmlOf(reference));
        }
        EXPECT_EQ(
            QDir(QFileInfo(file).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            cancel ? QStringList() : QStringList{"trip.kmz"});
    }
}

// While the host runs the long part on another thread, the main thread's timers go on, the bar follows the
// part's steps, and the progress window's Cancel or its close button stop the part; the floating windows
// are lowered around the run.
TEST(GoogleEarthExportHostTest, TheWindowsAnswerWhileTheWorkRuns)
{
    FakePlayback playback;
    MoviePlayerView player{[] { return std::make_unique<FakeMediaEngine>(); }};
    QStringList topMost;
    GoogleEarthExportHostImpl host(
        playback, player, [] { return nullptr; }, nullptr,
        [&](bool on) { topMost << (on ? "raised" : "lowered"); }, {});
    const std::pair<const char *, std::function<void(ModalWindow &)>> stops[] = {
        {"Cancel", clickCancel},
        {"close button", [](ModalWindow &window) { window.close(); }},
    };
    for (const auto &[what, stop] : stops) {
        SCOPED_TRACE(what);
        topMost.clear();
        int ticks = 0;
        QString shown;
        QTimer timer;
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [&, stop = stop] {
            ++ticks;
            ModalWindow *window = shownProgressWindow();
            if (!window || ticks < 3 || !shown.isEmpty())
                return;
            const auto *bar = window->findChild<QProgressBar *>();
            if (bar->value() != 50)
                return;
            for (const QLabel *label : window->findChildren<QLabel *>())
                shown += label->text() + "|";
            stop(*window);
        });
        timer.start();
        QThread *thread = nullptr;
        bool stopped = false;
        host.runInBackground("Export", [&](const WorkControl &control) {
            thread = QThread::currentThread();
            control.report(1, 2);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
            while (!control.isCancelled() && std::chrono::steady_clock::now() < deadline)
                QThread::msleep(1);
            stopped = control.isCancelled();
        });
        timer.stop();
        EXPECT_TRUE(stopped);
        EXPECT_NE(thread, QThread::currentThread());
        EXPECT_GE(ticks, 3);
        EXPECT_TRUE(shown.startsWith("Export.") && shown.endsWith("|50%|")) << shown.toStdString();
        EXPECT_EQ(shownProgressWindow(), nullptr);
        EXPECT_EQ(topMost, (QStringList{"lowered", "raised"}));
    }
}
