// The Google Earth export through the host the main window builds: the playing item taken from the
// window's own player and list, the shared save panel and the alerts, all real.
#include "app/CardOpener.h"
#include "app/GoogleEarthExportHostImpl.h"
#include "app/ItemPlayback.h"
#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/ModalRunner.h"
#include "app/PlaybackControl.h"
#include "app/WindowCoordinators.h"
#include "player/MoviePlayerView.h"
#include "recording/UserDefaultUtil.h"
#include "support/EventLoop.h"
#include "support/HomeFolder.h"
#include "support/ModalAnswerer.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "../player/FakeMediaEngine.h"
#include "AppFakes.h"
#include "OpenedWindow.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

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
