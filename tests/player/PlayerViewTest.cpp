#include "player/PlayerView.h"

#include "player/MpvEngine.h"

#include "TestClips.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A picture of four coloured quadrants, so that a grab shows which part of it is on screen.
class QuadrantWidget : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int w = width() / 2;
        const int h = height() / 2;
        p.fillRect(0, 0, w, h, Qt::red);
        p.fillRect(w, 0, width() - w, h, Qt::green);
        p.fillRect(0, h, w, height() - h, Qt::blue);
        p.fillRect(w, h, width() - w, height() - h, Qt::yellow);
    }
};

// The panel above the surface: counts the presses the surface passes on.
class PanelWidget : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

void press(QWidget *widget, QPointF at)
{
    QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void move(QWidget *widget, QPointF at)
{
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

bool isBlack(QRgb c)
{
    return qRed(c) < 16 && qGreen(c) < 16 && qBlue(c) < 16;
}

QRgb pixel(const QImage &image, QPointF at)
{
    return image.pixel(at.toPoint());
}

struct Surface
{
    Surface(int w, int h)
    {
        panel.resize(w, h);
        view = new PlayerView(&panel);
        view->resize(w, h);
        picture = new QuadrantWidget;
        view->setPlayerLayer(picture);
        view->attachPlayer();
    }
    QImage grab() { return view->grab().toImage(); }

    PanelWidget panel;
    PlayerView *view = nullptr;
    QuadrantWidget *picture = nullptr;
};

} // namespace

TEST(PlayerViewTest, FitsTheSixteenByNinePictureWithBarsOnTheLongSide)
{
    Surface wide(640, 200);
    const QRectF fit = wide.view->fittedVideoRect();
    EXPECT_NEAR(fit.height(), 200.0, 1e-9);
    EXPECT_NEAR(fit.width(), 200.0 * 16 / 9, 1e-9);
    EXPECT_NEAR(fit.center().x(), 320.0, 1e-9);
    QImage image = wide.grab();
    EXPECT_TRUE(isBlack(pixel(image, {20, 100})));
    EXPECT_TRUE(isBlack(pixel(image, {620, 100})));
    EXPECT_EQ(pixel(image, {fit.left() + 10, fit.top() + 10}), QColor(Qt::red).rgb());
    EXPECT_EQ(pixel(image, {fit.right() - 10, fit.bottom() - 10}), QColor(Qt::yellow).rgb());

    Surface tall(320, 400);
    const QRectF fitTall = tall.view->fittedVideoRect();
    EXPECT_NEAR(fitTall.width(), 320.0, 1e-9);
    EXPECT_NEAR(fitTall.height(), 180.0, 1e-9);
    EXPECT_NEAR(fitTall.top(), 110.0, 1e-9);
    image = tall.grab();
    EXPECT_TRUE(isBlack(pixel(image, {160, 50})));
    EXPECT_TRUE(isBlack(pixel(image, {160, 350})));
    EXPECT_EQ(pixel(image, {10, 120}), QColor(Qt::red).rgb());
}

TEST(PlayerViewTest, ZoomPreviewStaysInsideThePictureAndAClickZoomsOnTheClampedSpot)
{
    Surface s(640, 360);
    PlayerView *view = s.view;
    view->setPlayerScale(PlayerView::ScaleType::Scale_x3);
    move(view, {2, 3});
    ASSERT_TRUE(view->isZoomPreviewVisible());
    const QRectF window = view->zoomPreviewWindow();
    EXPECT_NEAR(window.width(), 640.0 / 3, 1e-6);
    EXPECT_NEAR(window.height(), 120.0, 1e-6);
    EXPECT_TRUE(view->maskRect().adjusted(-0.01, -0.01, 0.01, 0.01).contains(window));
    EXPECT_NEAR(window.left(), 0.0, 1e-6);
    // The preview darkens outside the window only.
    QImage image = s.grab();
    EXPECT_EQ(pixel(image, {20, 20}), QColor(Qt::red).rgb());
    EXPECT_NE(pixel(image, {600, 340}), QColor(Qt::yellow).rgb());

    press(view, {2, 3});
    ASSERT_TRUE(view->zoomPoint().has_value());
    EXPECT_NEAR(view->zoomPoint()->x(), 1.0 / 6, 1e-6);
    EXPECT_NEAR(view->zoomPoint()->y(), 1.0 / 6, 1e-6);
    EXPECT_FALSE(view->isZoomPreviewVisible());
    EXPECT_NEAR(view->playerRect().width(), 1920.0, 1e-6);
    EXPECT_NEAR(view->playerRect().left(), 0.0, 1e-6);
    EXPECT_NEAR(view->playerRect().top(), 0.0, 1e-6);
    // Only the top-left third of the picture is on screen now: all red.
    image = s.grab();
    EXPECT_EQ(pixel(image, {5, 5}), QColor(Qt::red).rgb());
    EXPECT_EQ(pixel(image, {630, 350}), QColor(Qt::red).rgb());
    EXPECT_EQ(s.panel.presses, 1);

    // The next click returns to x1.
    press(view, {300, 200});
    EXPECT_EQ(view->playerScale(), PlayerView::ScaleType::Scale_x1);
    EXPECT_FALSE(view->zoomPoint().has_value());
    EXPECT_EQ(view->playerRect(), view->maskRect());
    EXPECT_EQ(s.panel.presses, 2);
}

TEST(PlayerViewTest, AClickAtScaleOneChangesNothingButReachesThePanel)
{
    Surface s(640, 360);
    press(s.view, {100, 100});
    EXPECT_EQ(s.view->playerScale(), PlayerView::ScaleType::Scale_x1);
    EXPECT_FALSE(s.view->zoomPoint().has_value());
    EXPECT_FALSE(s.view->isZoomPreviewVisible());
    EXPECT_EQ(s.view->playerRect(), s.view->maskRect());
    EXPECT_EQ(s.panel.presses, 1);
}

TEST(PlayerViewTest, ChangingTheScaleWhileZoomedKeepsTheClickedSpotClampedForTheNewWindow)
{
    Surface s(640, 360);
    PlayerView *view = s.view;
    view->setPlayerScale(PlayerView::ScaleType::Scale_x2);
    press(view, {200, 120});
    ASSERT_TRUE(view->zoomPoint().has_value());
    const QPointF atTwo = *view->zoomPoint();
    EXPECT_NEAR(atTwo.x(), 200.0 / 640, 1e-6);
    EXPECT_NEAR(atTwo.y(), 120.0 / 360, 1e-6);

    view->setPlayerScale(PlayerView::ScaleType::Scale_x4);
    view->layoutZoom();
    // The x4 window is narrower: the same spot needs no clamping here.
    EXPECT_NEAR(view->zoomPoint()->x(), 200.0 / 640, 1e-6);
    EXPECT_NEAR(view->playerRect().width(), 2560.0, 1e-6);

    // A spot near the edge is clamped again at every change of scale.
    press(view, {0, 0});
    view->setPlayerScale(PlayerView::ScaleType::Scale_x2);
    press(view, {10, 10});
    EXPECT_NEAR(view->zoomPoint()->x(), 0.25, 1e-6);
    view->setPlayerScale(PlayerView::ScaleType::Scale_x4);
    view->layoutZoom();
    EXPECT_NEAR(view->zoomPoint()->x(), 0.125, 1e-6);
    EXPECT_NEAR(view->zoomPoint()->y(), 0.125, 1e-6);
    view->setPlayerScale(PlayerView::ScaleType::Scale_x2);
    view->layoutZoom();
    EXPECT_NEAR(view->zoomPoint()->x(), 0.25, 1e-6);
}

TEST(PlayerViewTest, TrimmedClipsGetABlackBandOverTheBottomStrip)
{
    Surface s(960, 540);
    s.view->layoutZoom();
    EXPECT_TRUE(s.view->subMaskLabel()->isHidden());
    QImage image = s.grab();
    EXPECT_EQ(pixel(image, {700, 538}), QColor(Qt::yellow).rgb());

    s.view->setCutFile(true);
    s.view->layoutZoom();
    const QRect band = s.view->subMaskLabel()->geometry();
    EXPECT_EQ(band.height(), 15); // 540 * 30 / 1080
    EXPECT_EQ(band.bottom(), 539);
    EXPECT_EQ(band.width(), 960);
    image = s.grab();
    EXPECT_TRUE(isBlack(pixel(image, {700, 538})));
    EXPECT_TRUE(isBlack(pixel(image, {700, 526})));
    EXPECT_EQ(pixel(image, {700, 520}), QColor(Qt::yellow).rgb());
}

TEST(PlayerViewTest, TrimLabelSitsAtThePicturesTopLeftCorner)
{
    Surface s(640, 200);
    s.view->showTrimLabel(true);
    s.view->layoutZoom();
    QLabel *label = s.view->trimLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("● Trim Mode"));
    EXPECT_FALSE(label->isHidden());
    const QRectF picture = s.view->playerRect();
    EXPECT_EQ(label->pos(), QPoint(int(picture.left() + 5), int(picture.top() + 5)));
    s.view->showTrimLabel(false);
    EXPECT_TRUE(label->isHidden());
}

TEST(PlayerViewTest, ScaleFromRawAcceptsOneToFive)
{
    EXPECT_FALSE(PlayerView::scaleFromRaw(0).has_value());
    EXPECT_EQ(PlayerView::scaleFromRaw(3), PlayerView::ScaleType::Scale_x3);
    EXPECT_FALSE(PlayerView::scaleFromRaw(6).has_value());
}

TEST(PlayerViewTest, ShowsTheRealEnginesPictureFitted)
{
    TempDir dir;
    const QString clip = testclips::makeClip(dir.path(), "bars.mp4", 320, 180, 28, 1.0, "smptebars");
    ASSERT_FALSE(clip.isEmpty());
    MpvEngine engine(MpvEngine::RenderMode::Software);
    PlayerView view;
    view.resize(480, 180);
    view.setPlayerLayer(engine.createVideoWidget(&view));
    view.attachPlayer();
    int frames = 0;
    QObject::connect(&engine, &MediaEngine::frameShown, [&](double) { ++frames; });
    engine.replaceItem(clip);
    engine.seekExact(500);
    // Before the first decoded frame mpv may draw a black picture: wait for the bars.
    ASSERT_TRUE(testclips::waitUntil([&] {
        const QImage &frame = engine.softwareFrame();
        return frames > 0 && frame.width() > 4 && qGray(frame.pixel(4, 4)) > 120;
    }));
    const QImage image = view.grab().toImage();
    const QRectF fit = view.fittedVideoRect();
    EXPECT_TRUE(isBlack(pixel(image, {10, 90})));
    EXPECT_TRUE(isBlack(pixel(image, {470, 90})));
    // The bars' top-left is light grey, the picture reaches the fitted rectangle's corners.
    const QRgb topLeft = pixel(image, {fit.left() + 4, fit.top() + 4});
    EXPECT_GT(qGray(topLeft), 120);
    EXPECT_FALSE(isBlack(pixel(image, {fit.right() - 4, fit.top() + 4})));
}
