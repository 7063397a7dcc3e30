#include "player/PlayerControls.h"

#include "player/CustomSliderCellMin.h"
#include "player/EXTextButton.h"
#include "player/NSZoomView.h"
#include "player/PlayerPanelHost.h"
#include "player/PlayerView.h"
#include "player/ZoomMenuControl.h"

#include "recording/UserDefaultUtil.h"

#include "PanelFixture.h"
#include "QuadrantPicture.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

using PlayStatus = CommonConst::PlayStatus;
using Scale = PlayerView::ScaleType;

namespace {

void keyClick(QWidget *w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(w, &release);
}

// A left-button event at the given height, or at the widget's centre.
void mouse(QWidget *w, QEvent::Type type, std::optional<double> y = {})
{
    const QPointF at(w->width() / 2.0, y.value_or(w->height() / 2.0));
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A main window that has every service and counts the full-screen switches.
class FakeHost : public PlayerPanelHost
{
public:
    bool provides(Service service) const override { return !withheld.contains(service); }
    bool isFullscreen() const override { return fullscreen; }
    void toggleFullScreen() override { fullscreen = !fullscreen; }
    void updatePanelLayout(bool on) override { layouts.push_back(on); }
    bool fullscreen = false;
    std::vector<bool> layouts;
    QSet<Service> withheld;
};

class PlayerControlsTest : public PanelFixture
{
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        settings = std::make_unique<UserDefaultUtil>(dir.filePath("settings.ini"));
        panel->setHost(&host);
        panel->setSettings(settings.get());
        panel->resize(900, 600);
    }

    PlayerControls *controls() const { return panel->controls(); }
    QAbstractButton *button(const char *name) const
    {
        return qobject_cast<QAbstractButton *>(controls()->control(QString::fromLatin1(name)));
    }
    // The settings as read back from the disk.
    std::unique_ptr<UserDefaultUtil> stored() const
    {
        auto reread = std::make_unique<UserDefaultUtil>(settings->fileName());
        reread->load();
        return reread;
    }

    TempDir dir;
    std::unique_ptr<UserDefaultUtil> settings;
    FakeHost host;
};

TEST_F(PlayerControlsTest, MuteKeepsTheVolumeBrightnessRedrawsAPausedPictureAndBothAreStored)
{
    load(false);
    panel->setVolume(0.4f);
    panel->setMute(true);
    EXPECT_EQ(controls()->volumeSlider()->doubleValue(), 0.0);
    EXPECT_FALSE(controls()->volumeSlider()->isEnabled());
    EXPECT_TRUE(engine()->isMuted());
    panel->setVolume(0.7f); // while muted only the kept volume changes
    EXPECT_EQ(controls()->volumeSlider()->doubleValue(), 0.0);
    panel->setMute(false);
    EXPECT_NEAR(controls()->volumeSlider()->doubleValue(), 0.7, 1e-9);
    EXPECT_TRUE(controls()->volumeSlider()->isEnabled());
    EXPECT_FALSE(engine()->isMuted());
    EXPECT_NEAR(engine()->volume(), 0.7, 1e-6);
    panel->setVolume(3.0f);
    EXPECT_EQ(stored()->viewerVolume, 1.0f);
    EXPECT_FALSE(stored()->viewerIsMute);

    // Brightness is clamped and goes to the engine, which draws the picture again itself: a paused
    // picture is never moved for it (a frame step on and back let the movie run on between the two).
    const struct
    {
        double value, stored;
    } cases[] = {{7.0, 5.0}, {0.0, 0.1}, {2.5, 2.5}};
    for (const auto &c : cases) {
        const auto seeks = engine()->seeks;
        panel->setGamma(c.value);
        EXPECT_EQ(panel->gamma(), c.stored);
        EXPECT_EQ(engine()->brightness(), PlayerEngines::brightnessForGamma(c.stored)) << c.value;
        EXPECT_EQ(engine()->seeks, seeks) << c.value;
        EXPECT_EQ(engine()->rate(), 0.0) << c.value;
        EXPECT_NEAR(controls()->brightSlider()->doubleValue(), c.stored, 1e-9);
    }
    panel->playMovie();
    panel->setGamma(1.0);
    EXPECT_EQ(engine()->brightness(), 0.0);
    EXPECT_EQ(stored()->viewerGamma, 1.0);
}

TEST_F(PlayerControlsTest, FastRatesLeaveTheEngineStillAndNameTheRate)
{
    load(false);
    panel->playMovie();
    controls()->playSpeedSlider()->setValue(4);
    EXPECT_EQ(panel->settingRate(), 5.0f);
    EXPECT_EQ(engine()->rate(), 0.0);
    EXPECT_EQ(controls()->playSpeedRateLabel()->text(), QStringLiteral("×5 times speed"));
    controls()->playSpeedSlider()->setValue(2);
    EXPECT_EQ(engine()->rate(), 2.0);
}

// The developer programs and benchmarks set their rate before playing; playing must keep it, and
// a rate the slider does not offer changes nothing.
TEST_F(PlayerControlsTest, RateSetBeforePlayingIsTheOnePlayed)
{
    load(false);
    const struct
    {
        float rate;
        bool offered;
        float played;
        int slider;
    } cases[] = {
        {2.0f, true, 2.0f, 2}, {10.0f, true, 10.0f, 5}, {0.5f, true, 0.5f, 0}, {1.5f, false, 1.0f, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rate);
        panel->pauseMovie();
        controls()->playSpeedSlider()->setValue(1);
        EXPECT_EQ(panel->setPlayRate(c.rate), c.offered);
        panel->playMovie();
        EXPECT_EQ(panel->settingRate(), c.played);
        EXPECT_EQ(panel->clock()->rate(), double(c.played));
        EXPECT_EQ(controls()->playSpeedSlider()->value(), c.slider);
    }
}

TEST_F(PlayerControlsTest, BubbleTexts)
{
    const struct
    {
        const char *id;
        double value;
        const char *text;
    } cases[] = {{"volume", 1.0, "16"}, {"volume", 0.03125, "1"}, {"bright", 2.0, "2.0"}, {"speed", 3.0, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(CustomSliderCellMin::bubbleText(QString::fromLatin1(c.id), c.value),
                  QString::fromLatin1(c.text));
}

TEST(EXTextButtonTest, HoverDisabledAndKeyboardStates)
{
    EXTextButton b;
    b.setImages(QStringLiteral("button_zoom"), QStringLiteral("button_zoom_over"),
                QStringLiteral("button_zoom_off"));
    b.mouseEntered(true);
    EXPECT_EQ(b.look(), EXTextButton::Look::Hover);
    b.mouseExited();
    b.setFlgZoomBtnForKey(true);
    b.mouseEntered(true); // the pointer is ignored while the keyboard drives the menu
    EXPECT_FALSE(b.isMouseOver());
    b.mouseEntered(false);
    EXPECT_EQ(b.look(), EXTextButton::Look::Hover);
    b.setEnabled(false);
    EXPECT_EQ(b.look(), EXTextButton::Look::Disabled);
    b.mouseExited(); // a disabled button keeps its hover flag
    EXPECT_TRUE(b.isMouseOver());
    b.setEnabled(true);
    EXPECT_EQ(b.look(), EXTextButton::Look::Hover);
    EXTextButton plain;
    plain.setImages(QStringLiteral("button_play"));
    plain.setEnabled(false);
    plain.mouseEntered(true);
    EXPECT_EQ(plain.look(), EXTextButton::Look::Normal);
}

TEST_F(PlayerControlsTest, ZoomMenuByKeysAndPointerFullScreenResetsItAndTrimExcludesIt)
{
    load(false);
    panel->show();
    ZoomMenuControl *zoom = controls()->zoom();
    button("zoom")->click();
    ASSERT_TRUE(zoom->isShown());
    EXPECT_FALSE(button("cut")->isEnabled());
    const struct
    {
        Qt::Key key;
        int hovered;
    } keys[] = {{Qt::Key_Left, 0},  {Qt::Key_Down, 1}, {Qt::Key_Left, 0}, {Qt::Key_Up, 4},
                {Qt::Key_Right, 0}, {Qt::Key_Left, 4}, {Qt::Key_Left, 3}};
    for (const auto &k : keys) {
        keyClick(panel.get(), k.key);
        EXPECT_EQ(zoom->hoveredZoomButtonIndex(), k.hovered);
    }
    keyClick(panel.get(), Qt::Key_Return);
    EXPECT_FALSE(zoom->isShown());
    EXPECT_EQ(panel->playerView()->playerScale(), Scale::Scale_x4);
    EXPECT_TRUE(button("zoom")->isChecked());
    button("zoom")->click();
    keyClick(panel.get(), Qt::Key_Escape);
    EXPECT_FALSE(zoom->isShown());
    EXPECT_TRUE(button("zoom")->isChecked()); // the applied scale stays
    // Full screen resets the zoom.
    button("fullscrn")->click();
    EXPECT_TRUE(host.fullscreen);
    EXPECT_EQ(panel->playerView()->playerScale(), Scale::Scale_x1);
    EXPECT_FALSE(button("zoom")->isChecked());
    keyClick(panel.get(), Qt::Key_Escape);
    EXPECT_FALSE(host.fullscreen);
    EXPECT_EQ(host.layouts, (std::vector<bool>{true, false}));
    // The pointer over the menu takes the highlight back from the keys; a click outside closes it.
    button("zoom")->click();
    keyClick(panel.get(), Qt::Key_Right);
    ASSERT_TRUE(zoom->zoomMenu()->button(0)->flgZoomBtnForKey());
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), zoom->zoomMenu()->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(zoom->zoomMenu(), &move);
    EXPECT_FALSE(zoom->zoomMenu()->button(0)->flgZoomBtnForKey());
    EXPECT_EQ(zoom->hoveredZoomButtonIndex(), NSZoomView::COUNT);
    zoom->closeZoomMenu(); // what the click catcher reports
    EXPECT_FALSE(zoom->isShown());
    EXPECT_FALSE(button("zoom")->isChecked());
    panel->setTrimMode(true);
    EXPECT_FALSE(button("zoom")->isEnabled());
    EXPECT_TRUE(controls()->datetimeLabel()->text().contains(QString::fromUtf8(" ～ ")));
    EXPECT_TRUE(button("cut")->isChecked());
}

TEST_F(PlayerControlsTest, TheZoomMenuOpensUnderTheZoomButtonFromTheFirstTime)
{
    panel->show();
    load(false);
    QAbstractButton *zoom = button("zoom");
    zoom->click();
    NSZoomView *menu = controls()->zoom()->zoomMenu();
    ASSERT_TRUE(menu->isVisible());
    const QWidget *toolBar = controls()->toolsView();
    EXPECT_EQ(menu->pos(), QPoint(zoom->mapTo(panel.get(), QPoint(0, 0)).x(),
                                  toolBar->mapTo(panel.get(), QPoint(0, toolBar->height())).y()));
}

TEST_F(PlayerControlsTest, TabAndShiftTabInTheToolBar)
{
    load(false);
    panel->show();
    QApplication::setActiveWindow(panel.get());
    const struct
    {
        const char *from;
        bool forward;
        const char *to;
    } cases[] = {{"google", true, "fullscrn"}, {"fullscrn", false, "google"}};
    for (const auto &c : cases) {
        controls()->control(QString::fromLatin1(c.from))->setFocus();
        keyClick(QApplication::focusWidget(), c.forward ? Qt::Key_Tab : Qt::Key_Backtab,
                 c.forward ? Qt::NoModifier : Qt::ShiftModifier);
        ASSERT_TRUE(QApplication::focusWidget());
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.to));
    }
}

TEST_F(PlayerControlsTest, HeldFrameStepRepeatsUntilTheEndAndPlayAtTheEndRewinds)
{
    load(false);
    auto *go = qobject_cast<QToolButton *>(button("komaGo"));
    ASSERT_TRUE(go->isEnabled());
    panel->trackCell()->setDoubleValue(panel->trackCell()->maxValue() - 150);
    panel->updateControlButtons();
    const int64_t before = panel->valueInfo()->currentValue();
    mouse(go, QEvent::MouseButtonPress);
    // Held, it repeats until the end disables it.
    ASSERT_TRUE(EventLoop::waitUntil([&] { return !go->isEnabled(); }));
    mouse(go, QEvent::MouseButtonRelease);
    EXPECT_GE(panel->valueInfo()->currentValue() - before, 150 - panel->frameStep());
    EXPECT_EQ(panel->valueInfo()->currentValue(), static_cast<int64_t>(panel->trackCell()->maxValue()));
    button("play")->click();
    EXPECT_EQ(panel->currentStatus(), PlayStatus::Play);
    EXPECT_EQ(panel->valueInfo()->currentValue(), static_cast<int64_t>(panel->trackCell()->minValue()));
    button("stop")->click();
    EXPECT_EQ(delegate.codes, std::vector<int>{7});
}

TEST_F(PlayerControlsTest, VolumeBubbleOnlyInsideTheBarBand)
{
    panel->show();
    CustomSliderCellMin *slider = controls()->volumeSlider();
    mouse(slider, QEvent::MouseButtonPress, 0); // outside the 10-pixel band: refused, no bubble
    EXPECT_EQ(slider->valLabel(), nullptr);
    mouse(slider, QEvent::MouseButtonPress);
    ASSERT_NE(slider->valLabel(), nullptr);
    EXPECT_TRUE(slider->valLabel()->isVisible());
    EXPECT_EQ(slider->valLabel()->text(), CustomSliderCellMin::bubbleText("volume", slider->doubleValue()));
    mouse(slider, QEvent::MouseButtonRelease);
    EXPECT_FALSE(slider->valLabel()->isVisible());
}

TEST_F(PlayerControlsTest, StopwatchHoldsFrameBackAndLoadingTextIsShown)
{
    load(false);
    const int64_t at = panel->trackCell()->maxValue() / 2;
    panel->moveToPosition(at, PlayStatus::Pause);
    EXPECT_TRUE(button("komaBack")->isEnabled());
    panel->updateStopWatchMarkers(StopWatchStatus::Start, at, {}, -1, at);
    EXPECT_FALSE(button("komaBack")->isEnabled());
    panel->updateStopWatchMarkers(StopWatchStatus::Stop, at, {}, at + 500, at);
    EXPECT_TRUE(button("komaBack")->isEnabled());
    panel->clearMovie(true);
    EXPECT_TRUE(panel->playerView()->backLabel()->isVisibleTo(panel.get()));
    EXPECT_EQ(panel->playerView()->backLabel()->text(), QStringLiteral("Now Loading"));
    EXPECT_FALSE(button("play")->isEnabled());
    EXPECT_EQ(controls()->diffSecLabel()->text(), QStringLiteral("±00.0"));
}

} // namespace

namespace {

// The focused control's name; a slider sharing a button's name is told apart.
QString focusName()
{
    const QWidget *f = QApplication::focusWidget();
    if (!f)
        return QStringLiteral("none");
    return qobject_cast<const CustomSliderCellMin *>(f) ? f->objectName() + QStringLiteral(" slider")
                                                        : f->objectName();
}

// Whether the surface shows the whole picture fitted and undimmed, read off its pixels.
bool showsWholePicture(PlayerView *view)
{
    return showsWholeQuadrants(view->grab().toImage(), view->fittedVideoRect());
}

// A click as the pointer gives it: the window finds the widget under it.
void clickAt(QWidget *window, QPoint at)
{
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
}

} // namespace

// Key by key from the open button, either way round, in each state; no press leaves the focus in place.
TEST_F(PlayerControlsTest, TabAndShiftTabWalkTheToolBarsOrderInEveryStateAndNeverStick)
{
    panel->show();
    QApplication::setActiveWindow(panel.get());
    const struct
    {
        const char *state;
        std::function<void()> enter;
        QStringList forward, backward;
    } cases[] = {
        {"nothing open",
         [] {},
         {"setting", "bright", "bright slider", "volumeButton", "volume slider", "speed slider", "open"},
         {"speed slider", "volume slider", "volumeButton", "bright slider", "bright", "setting", "open"}},
        {"ready",
         [this] { load(false); },
         {"setting", "cut", "snapshot", "zoom", "stopwatch", "google", "fullscrn", "play", "komaGo",
          "forward", "speed slider", "open"},
         {"speed slider", "forward", "komaGo", "play", "fullscrn", "google", "stopwatch", "zoom", "snapshot",
          "cut", "setting", "open"}},
        {"ready, the stopwatch disabled",
         [this] {
             host.withheld.insert(PlayerPanelHost::Service::StopWatch);
             panel->updateToolButtons();
         },
         {"setting", "bright", "bright slider", "volumeButton", "volume slider", "fullscrn", "play", "komaGo",
          "forward", "speed slider", "open"},
         {"speed slider", "forward", "komaGo", "play", "fullscrn", "setting", "open"}},
    };
    for (const auto &c : cases) {
        c.enter();
        for (const bool forward : {true, false}) {
            SCOPED_TRACE(std::string(c.state) + (forward ? ", Tab" : ", Shift+Tab"));
            controls()->control(QStringLiteral("open"))->setFocus();
            QStringList walked;
            for (qsizetype i = 0; i < (forward ? c.forward : c.backward).size(); ++i) {
                QTest::keyClick(panel->windowHandle(), forward ? Qt::Key_Tab : Qt::Key_Backtab,
                                forward ? Qt::NoModifier : Qt::ShiftModifier);
                walked << focusName();
            }
            EXPECT_EQ(walked.join(QStringLiteral(", ")).toStdString(),
                      (forward ? c.forward : c.backward).join(QStringLiteral(", ")).toStdString());
        }
    }
}

// Every way back to x1 shows the whole picture at once, undimmed, zoomed in on a fixed centre or still
// previewing one.
TEST_F(PlayerControlsTest, EveryWayBackToX1ShowsTheWholePictureAtOnce)
{
    load(false);
    panel->show();
    PlayerView *view = panel->playerView();
    ZoomMenuControl *zoom = controls()->zoom();
    ASSERT_TRUE(showsWholePicture(view));
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"x1 by the mouse",
         [&] {
             button("zoom")->click();
             zoom->zoomMenu()->button(0)->click();
         }},
        {"x1 by Return",
         [&] {
             button("zoom")->click();
             keyClick(panel.get(), Qt::Key_Right); // the first key lights x1
             keyClick(panel.get(), Qt::Key_Return);
         }},
        {"full screen", [&] { button("fullscrn")->click(); }},
        {"a click on the zoomed picture", [&] { mouse(view, QEvent::MouseButtonPress); }},
    };
    // Fixed on the picture's top-left quarter, x2 shows the red quadrant alone.
    const auto fixCentre = [view] {
        const QRectF fit = view->fittedVideoRect();
        const QPointF at = fit.topLeft() + QPointF(fit.width() * 0.1, fit.height() * 0.1);
        QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &press);
    };
    for (const auto &[way, back] : ways) {
        for (const bool centreFixed : {true, false}) {
            if (!centreFixed && std::string(way) == "a click on the zoomed picture")
                continue; // a click on the preview fixes the centre
            SCOPED_TRACE(std::string(way) + (centreFixed ? ", centre fixed" : ", previewing"));
            button("zoom")->click();
            zoom->zoomMenu()->button(1)->click();
            if (centreFixed)
                fixCentre();
            ASSERT_FALSE(showsWholePicture(view));
            back();
            EXPECT_TRUE(showsWholePicture(view));
            EXPECT_FALSE(view->isZoomPreviewVisible());
            EXPECT_FALSE(button("zoom")->isChecked());
            EXPECT_TRUE(button("cut")->isEnabled());
            if (host.fullscreen)
                button("fullscrn")->click();
        }
    }
}

// The preview's clear window opens around the pointer where it is when the scale is chosen, not where it
// last crossed the picture.
TEST_F(PlayerControlsTest, TheZoomPreviewOpensAroundThePointerWhereItIsNow)
{
    load(false);
    panel->show();
    PlayerView *view = panel->playerView();
    const QRectF fit = view->fittedVideoRect();
    const QPointF crossed = fit.topLeft() + QPointF(fit.width() * 0.2, fit.height() * 0.2);
    const QPointF now = fit.topLeft() + QPointF(fit.width() * 0.75, fit.height() * 0.75);
    QMouseEvent move(QEvent::MouseMove, crossed, view->mapToGlobal(crossed), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QCursor::setPos(view->mapToGlobal(now).toPoint());
    button("zoom")->click();
    controls()->zoom()->zoomMenu()->button(2)->click(); // x3
    ASSERT_TRUE(view->isZoomPreviewVisible());
    const QPointF centre = view->zoomPreviewWindow().center();
    EXPECT_NEAR(centre.x(), now.x(), 1.0);
    EXPECT_NEAR(centre.y(), now.y(), 1.0);
    // On screen: bright at the pointer, dimmed where the pointer crossed before.
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.pixel(now.toPoint()), QColor(Qt::yellow).rgb());
    EXPECT_NE(image.pixel(crossed.toPoint()), QColor(Qt::red).rgb());
}

// A button the pointer crossed while it was disabled comes back in its normal look when enabled again.
TEST_F(PlayerControlsTest, ATrimButtonCrossedWhileGreyedIsNotLeftInItsHoverLook)
{
    load(false);
    panel->show();
    auto *cut = qobject_cast<EXTextButton *>(button("cut"));
    button("zoom")->click();
    ASSERT_FALSE(cut->isEnabled());
    QEnterEvent enter(QPointF(5, 5), cut->mapToGlobal(QPointF(5, 5)), cut->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(cut, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(cut, &leave);
    keyClick(panel.get(), Qt::Key_Escape);
    ASSERT_TRUE(cut->isEnabled());
    EXPECT_EQ(cut->look(), EXTextButton::Look::Normal);
}

// Neither the zoom menu, the focus on a tool button nor trim mode's range makes a bar taller or the picture
// smaller.
TEST_F(PlayerControlsTest, TheToolBarKeepsItsHeightWhateverItsButtonsShow)
{
    load(false);
    panel->show();
    QApplication::setActiveWindow(panel.get());
    panel->setFocus();
    EventLoop::runFor(std::chrono::milliseconds(50));
    const int height = controls()->toolsView()->height();
    const QSize picture = panel->playerView()->size();
    const auto clickOn = [this](const char *name) {
        QWidget *w = button(name);
        clickAt(panel.get(), w->mapTo(panel.get(), w->rect().center()));
    };
    const std::pair<const char *, std::function<void()>> changes[] = {
        {"zoom menu opened by a click", [&] { clickOn("zoom"); }},
        {"zoom menu closed", [this] { keyClick(panel.get(), Qt::Key_Escape); }},
        {"capture pressed", [&] { clickOn("snapshot"); }},
        {"focus on a small button", [this] { button("fullscrn")->setFocus(Qt::TabFocusReason); }},
        {"stopwatch button on", [this] { controls()->setStopWatchButton(true); }},
        {"trim button on", [this] { panel->setTrimMode(true); }},
    };
    for (const auto &[name, change] : changes) {
        SCOPED_TRACE(name);
        change();
        EventLoop::runFor(std::chrono::milliseconds(50));
        EXPECT_EQ(controls()->toolsView()->height(), height);
        EXPECT_EQ(panel->playerView()->size(), picture);
    }
}
