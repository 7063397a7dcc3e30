// Every window in English, French and Spanish, built as its opener builds it and shown at the size its
// opener gives it: no text is cut off or elided.
#include "ClippedTexts.h"

#include "app/AppAboutDialog.h"
#include "app/AppTranslator.h"
#include "app/CardDriveSelectDialog.h"
#include "app/StandardModalRunner.h"
#include "app/StopWatchWindow.h"
#include "app/TaskProgressWindow.h"
#include "app/TitleBarWidths.h"
#include "app/ToolWindows.h"
#include "app/VideoTypeSelectDialog.h"
#include "card/CardFixture.h"
#include "graph/DrivingInfoLayout.h"
#include "graph/DrivingInfoView.h"
#include "graph/GraphView.h"
#include "graph/LineView.h"
#include "maintenance/BackUpFolderSelectDialog.h"
#include "maintenance/BackupSettingDialog.h"
#include "maintenance/CameraSettingDialog.h"
#include "maintenance/CleanupDialog.h"
#include "maintenance/MessageBoxPrompter.h"
#include "maintenance/ViewerSettingDialog.h"
#include "recording/UserDefaultUtil.h"
#include "support/ModalAnswerer.h"
#include "support/TempDir.h"
#include "videotools/CaptureView.h"
#include "videotools/StopWatchView.h"
#include "videotools/TrimDialogs.h"
#include "videotools/TrimView.h"
#include <QToolButton>

#include "../maintenance/FakePrompts.h"
#include "../maintenance/MaintenanceFakes.h"
#include "AppFakes.h"
#include "MainWindowFixture.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QTranslator>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// What the windows are made with; the window shown last is kept here until the next.
struct Rig
{
    Rig() : settings(dir.filePath("s.conf"))
    {
        settings.load();
        const QString key = "202405011200";
        for (int i = 0; i < 3; ++i)
            card.addMovie(key, i + 1, 100000 + 60000 * uint32_t(i), 60 * i);
        card.addEvent(1, key, 2, 160000, 60);
        cardData = card.load();
    }
    QWidget *keep(std::unique_ptr<QWidget> w)
    {
        window = std::move(w);
        return window.get();
    }

    TempDir dir;
    UserDefaultUtil settings;
    FakePrompter prompter;
    FakeRestarter restarter;
    FakeMaintenanceHost host;
    FakeMaintenancePrompter maintenancePrompter;
    FakeVolumes volumes{{{"/media/card", true}}};
    CardFixture card;
    std::unique_ptr<CardData> cardData;
    std::unique_ptr<StopWatchWindow> stopWatch;
    Runs runs;
    std::unique_ptr<RecordingRunner> runner;
    std::unique_ptr<Fixture> mainWindow;
    std::unique_ptr<TaskProgressWindow> progress;
    std::unique_ptr<QWidget> parent = std::make_unique<QWidget>();
    std::unique_ptr<QWidget> window;
};

struct Window
{
    const char *name;
    std::optional<QSize> size; // the opener's content size; none: the window's own
    std::function<QWidget *(Rig &)> make;
};

const Window WINDOWS[] = {
    {"stopwatch", std::nullopt,
     [](Rig &r) {
         r.stopWatch =
             std::make_unique<StopWatchWindow>(r.settings, r.parent.get(), StopWatchWindow::Calls{});
         r.stopWatch->setupWindow();
         return r.stopWatch->window();
     }},
    {"camera settings", QSize(590, 631),
     [](Rig &r) {
         auto dialog = std::make_unique<CameraSettingDialog>(r.prompter);
         dialog->setupDialog();
         return r.keep(std::move(dialog));
     }},
    {"viewer settings", QSize(575, 540),
     [](Rig &r) {
         auto dialog = std::make_unique<ViewerSettingDialog>(r.settings, &r.restarter, r.prompter);
         dialog->setupDialog();
         return r.keep(std::move(dialog));
     }},
    {"backup", std::nullopt,
     [](Rig &r) {
         auto dialog = std::make_unique<BackupSettingDialog>(r.settings, r.host, r.maintenancePrompter);
         dialog->cardData = r.cardData.get();
         dialog->pathBackup = r.dir.path();
         dialog->setupDialog();
         return r.keep(std::move(dialog));
     }},
    {"backup folder selection", QSize(336, 188),
     [](Rig &r) {
         QDir().mkpath(r.dir.filePath("backups/20240501120000"));
         r.settings.pathBackup = r.dir.filePath("backups");
         auto dialog = std::make_unique<BackUpFolderSelectDialog>(r.settings, &r.host, r.maintenancePrompter);
         dialog->mode = BackUpFolderSelectDialog::Mode::Cleanup;
         dialog->setupDialog();
         return r.keep(std::move(dialog));
     }},
    {"delete", QSize(763, 436),
     [](Rig &r) {
         auto dialog = std::make_unique<CleanupDialog>(r.settings, &r.host, r.maintenancePrompter);
         dialog->backupRoot = r.dir.path();
         dialog->cleanupDirPath = r.card.root();
         dialog->setupDialog();
         return r.keep(std::move(dialog));
     }},
    {"open from", QSize(285, 155),
     [](Rig &r) {
         r.runner = std::make_unique<RecordingRunner>(r.runs);
         auto dialog = std::make_unique<VideoTypeSelectDialog>(VideoTypeSelectDialog::Services{
             r.settings, r.prompter, r.maintenancePrompter, r.volumes, *r.runner,
             [](QWidget *, const QString &) { return QString(); }});
         return r.keep(std::move(dialog));
     }},
    {"main window", std::nullopt,
     [](Rig &r) {
         r.mainWindow = std::make_unique<Fixture>();
         r.mainWindow->startUpUntilShown();
         return static_cast<QWidget *>(r.mainWindow->window.get());
     }},
    {"backup progress", std::nullopt,
     [](Rig &r) {
         r.progress = std::make_unique<TaskProgressWindow>(&r.settings, nullptr, nullptr);
         r.progress->start(TaskProgress::Mode::Backup,
                           QCoreApplication::translate("BackupSettingDialog", "Back up"));
         r.progress->setProgress(40, "MOVE/m2024050112000001.MP4");
         return static_cast<QWidget *>(&r.progress->window());
     }},
    {"card drive", QSize(335, 188),
     [](Rig &r) {
         auto dialog = std::make_unique<CardDriveSelectDialog>(r.settings, r.volumes);
         dialog->loadDriveList();
         return r.keep(std::move(dialog));
     }},
    {"about", std::nullopt,
     [](Rig &r) {
         auto dialog = std::make_unique<AppAboutDialog>();
         dialog->setVersionLabel();
         return r.keep(std::move(dialog));
     }},
    {"trim", ToolWindows::TRIM_CONTENT_SIZE,
     [](Rig &r) {
         auto view = std::make_unique<TrimView>(r.settings);
         view->setupControls();
         return r.keep(std::move(view));
     }},
    {"capture", ToolWindows::CAPTURE_CONTENT_SIZE,
     [](Rig &r) {
         auto view = std::make_unique<CaptureView>(r.settings);
         view->setupControls();
         return r.keep(std::move(view));
     }},
    {"driving data", std::nullopt,
     [](Rig &r) {
         auto view = std::make_unique<DrivingInfoView>(&r.settings);
         view->setupView();
         return r.keep(std::move(view));
     }},
};

// The smallest rectangle holding every pixel of the image that isInk picks; empty when there is none.
QRect inkBounds(const QImage &image, const std::function<bool(QColor)> &isInk)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

bool isWhiteText(QColor c)
{
    return std::min({c.red(), c.green(), c.blue()}) >= 170;
}

} // namespace

TEST(TextsFitTest, EveryWindowShowsItsTextsWholeInEveryLanguage)
{
    for (const int language : {0, 1, 2}) {
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        ASSERT_EQ(translator != nullptr, language != 0);
        for (const Window &w : WINDOWS) {
            SCOPED_TRACE(QStringLiteral("%1 in language %2").arg(w.name).arg(language).toStdString());
            Rig rig;
            QWidget *window = w.make(rig);
            // As the modal window holds the view's content size.
            if (w.size)
                window->setFixedSize(*w.size);
            window->show();
            QCoreApplication::processEvents();
            const std::vector<ClippedText> clipped = clippedTexts(*window);
            EXPECT_TRUE(clipped.empty()) << describe(clipped).toStdString();
        }
    }
}

// The alerts that end a trim, a capture and the maintenance dialogs' work, with the program's filter on
// message boxes: besides its title, a title bar holds the window manager's icon and three buttons (about 90
// pixels under openbox), and the box leaves room for both.
TEST(TextsFitTest, AlertsAreWideEnoughForTheirTitlesInEveryLanguage)
{
    constexpr int WINDOW_MANAGER_EXTRAS = 90;
    TitleBarWidths widths;
    qApp->installEventFilter(&widths);
    const std::pair<const char *, std::function<void(UserDefaultUtil &)>> alerts[] = {
        {"trim saved",
         [](UserDefaultUtil &s) {
             TrimView view(s);
             TrimDialogs(nullptr).showAlert(TrimPrompts::Style::Informational, view.al_infoTitle,
                                            view.al_infoMsg);
         }},
        {"capture saved",
         [](UserDefaultUtil &s) {
             CaptureView view(s);
             TrimDialogs(nullptr).showAlert(TrimPrompts::Style::Informational, view.al_infoTitle,
                                            view.al_infoMsg);
         }},
        {"maintenance information", [](UserDefaultUtil &) { MessageBoxPrompter().inform(nullptr, "OK"); }},
    };
    for (const int language : {0, 1, 2}) {
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        for (const auto &[name, show] : alerts) {
            SCOPED_TRACE(QStringLiteral("%1 in language %2").arg(name).arg(language).toStdString());
            Rig rig;
            ModalAnswerer answerer;
            show(rig.settings);
            ASSERT_EQ(answerer.boxes.size(), 1u);
            QFont bold = QApplication::font();
            bold.setBold(true);
            const int title = QFontMetrics(bold).horizontalAdvance(answerer.boxes[0].title);
            EXPECT_GE(answerer.boxes[0].width - WINDOW_MANAGER_EXTRAS, title)
                << answerer.boxes[0].title.toStdString();
        }
    }
    qApp->removeEventFilter(&widths);
}

namespace {
// The driving panel's meter toggle as the window shows it.
QToolButton *shownMeterButton(DrivingInfoView &view)
{
    view.setupView();
    view.show();
    QCoreApplication::processEvents();
    return view.speedMeterButton();
}
} // namespace

// The meter's toggle keeps its width in every language; a longer title is set smaller, from 17 pixels down,
// until it is at most 57 wide, and shows whole.
TEST(TextsFitTest, TheMeterTitleShrinksIntoAButtonOfOneWidthInEveryLanguage)
{
    constexpr double TITLE_ROOM = 57.0;
    std::vector<int> widths;
    for (const int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        DrivingInfoView view;
        QToolButton *button = shownMeterButton(view);
        button->ensurePolished();
        widths.push_back(button->width());
        const QString title = button->text();
        QFont font = button->font();
        const int size = font.pixelSize();
        EXPECT_LE(QFontMetricsF(font).horizontalAdvance(title), TITLE_ROOM);
        if (size < 17) {
            font.setPixelSize(size + 1);
            EXPECT_GT(QFontMetricsF(font).horizontalAdvance(title), TITLE_ROOM) << "one size larger fits";
        } else {
            EXPECT_EQ(size, 17);
        }
        const std::vector<ClippedText> clipped = clippedTexts(*button);
        EXPECT_TRUE(clipped.empty()) << describe(clipped).toStdString();
    }
    EXPECT_EQ(widths, std::vector<int>(3, widths.front()));
}

// The meter's title is set flush right in its room: however long it is in a language, it ends at the
// same column, inside the button's border.
TEST(TextsFitTest, TheMeterTitleEndsAtTheRightOfItsRoomInEveryLanguage)
{
    // The first column past the title's room: its margin and the button's border are on its right.
    const int roomEnd =
        static_cast<int>(DrivingInfoLayout::BUTTON_WIDTH - DrivingInfoLayout::TITLE_MARGIN - 1.0);
    std::vector<int> rightEdges;
    for (const int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        DrivingInfoView view;
        QToolButton *button = shownMeterButton(view);
        const QRect ink = inkBounds(button->grab().toImage(), isWhiteText);
        ASSERT_FALSE(ink.isEmpty());
        // A glyph's ink may stop a pixel or two short of its advance.
        EXPECT_GE(ink.right(), roomEnd - 3) << button->text().toStdString();
        EXPECT_LT(ink.right(), roomEnd) << button->text().toStdString();
        EXPECT_GE(ink.left(), 1) << button->text().toStdString();
        rightEdges.push_back(ink.right());
    }
    const auto [lo, hi] = std::minmax_element(rightEdges.begin(), rightEdges.end());
    EXPECT_LE(*hi - *lo, 1);
}

// The line chart's legend box holds each of its texts whole: the box is found as the darkened pixels of a
// grey background, the texts as the white ones.
TEST(TextsFitTest, TheLegendBoxHoldsItsTextsInEveryLanguage)
{
    for (const int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        LineView chart;
        chart.resize(470, 160);
        chart.show();
        QCoreApplication::processEvents();
        GraphView *graph = chart.graphView();
        QImage image(graph->size(), QImage::Format_RGB32);
        image.fill(QColor(100, 100, 100));
        graph->render(&image, {}, {}, QWidget::DrawChildren);
        // The axis lines along the left and bottom edges are white too.
        const QImage inside = image.copy(2, 0, image.width() - 2, image.height() - 2);
        const QRect box = inkBounds(inside, [](QColor c) {
            return std::max({c.red(), c.green(), c.blue()}) <= 70;
        });
        const QRect texts = inkBounds(inside, isWhiteText);
        ASSERT_FALSE(box.isEmpty());
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_TRUE(box.contains(texts)) << "box " << box.left() << ".." << box.right() << ", texts "
                                         << texts.left() << ".." << texts.right();
    }
}

// A window that takes its content's size, run as the viewer runs it, is as wide as its title needs beside
// the window manager's icon and buttons.
TEST(TextsFitTest, AWindowSizedByItsContentLeavesRoomForItsTitleInEveryLanguage)
{
    constexpr int WINDOW_MANAGER_EXTRAS = 90;
    for (const int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(language);
        Rig rig;
        QWidget *backup = WINDOWS[3].make(rig);
        ASSERT_STREQ(WINDOWS[3].name, "backup");
        QString title;
        int width = 0;
        ModalAnswerer answerer([&](QWidget *window) {
            title = window->windowTitle();
            width = window->width();
            static_cast<ModalWindow *>(window)->abortModal();
        });
        StandardModalRunner(rig.settings, nullptr, {})
            .run(ModalWindow::Type::BackupSetting, backup,
                 QCoreApplication::translate("MenuCommands", "Select backup folder"));
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(width - WINDOW_MANAGER_EXTRAS, QFontMetrics(bold).horizontalAdvance(title))
            << title.toStdString();
    }
}
