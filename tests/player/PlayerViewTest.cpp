#include "player/PlayerView.h"

#include "player/MpvEngine.h"

#include "QuadrantPicture.h"
#include "TestClips.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// The panel above the surface: counts the presses the surface passes on.
class PanelWidget : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

// A left press, or a move with no button held.
void mouse(QWidget *widget, QPointF at, QEvent::Type type = QEvent::MouseButtonPress)
{
    const Qt::MouseButton button = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
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

const QRgb RED = QColor(Qt::red).rgb(), YELLOW = QColor(Qt::yellow).rgb();

struct Surface
{
    Surface(int w, int h)
    {
        panel.resize(w, h);
        view = new PlayerView(&panel);
        view->resize(w, h);
        view->setPlayerLayer(new QuadrantPicture);
        view->attachPlayer();
    }
    QImage grab() { return view->grab().toImage(); }

    PanelWidget panel;
    PlayerView *view = nullptr;
};

} // namespace

TEST(PlayerViewTest, FitsTheSixteenByNinePictureWithBarsOnTheLongSide)
{
    // Surface size, the fitted picture, two points on the black bars.
    const struct
    {
        int w, h;
        QRectF fit;
        QPointF bars[2];
    } cases[] = {{640, 200, {320 - 1600 / 9.0, 0, 3200 / 9.0, 200}, {{20, 100}, {620, 100}}},
                 {320, 400, {0, 110, 320, 180}, {{160, 50}, {160, 350}}}};
    for (const auto &c : cases) {
        Surface s(c.w, c.h);
        const QRectF fit = s.view->fittedVideoRect();
        for (const auto &[got, expected] :
             {std::pair{fit.topLeft(), c.fit.topLeft()}, {fit.bottomRight(), c.fit.bottomRight()}}) {
            EXPECT_NEAR(got.x(), expected.x(), 1e-9) << c.w;
            EXPECT_NEAR(got.y(), expected.y(), 1e-9) << c.w;
        }
        const QImage image = s.grab();
        EXPECT_TRUE(isBlack(pixel(image, c.bars[0])) && isBlack(pixel(image, c.bars[1]))) << c.w;
        EXPECT_EQ(pixel(image, fit.topLeft() + QPointF(10, 10)), RED) << c.w;
        EXPECT_EQ(pixel(image, fit.bottomRight() - QPointF(10, 10)), YELLOW) << c.w;
    }
}

TEST(PlayerViewTest, ZoomPreviewStaysInsideThePictureAndAClickZoomsOnTheClampedSpot)
{
    Surface s(640, 360);
    PlayerView *view = s.view;
    // At x1 a click changes nothing but reaches the panel.
    mouse(view, {100, 100});
    EXPECT_FALSE(view->zoomPoint().has_value());
    EXPECT_EQ(view->playerRect(), view->maskRect());
    EXPECT_EQ(s.panel.presses, 1);

    view->setPlayerScale(PlayerView::ScaleType::Scale_x3);
    mouse(view, {2, 3}, QEvent::MouseMove);
    ASSERT_TRUE(view->isZoomPreviewVisible());
    EXPECT_EQ(view->zoomPreviewWindow(), QRectF(0, 0, 640.0 / 3, 120)); // held inside the picture
    // The preview darkens outside the window only.
    QImage image = s.grab();
    EXPECT_EQ(pixel(image, {20, 20}), RED);
    EXPECT_NE(pixel(image, {600, 340}), YELLOW);

    mouse(view, {2, 3});
    ASSERT_TRUE(view->zoomPoint().has_value());
    EXPECT_NEAR(view->zoomPoint()->x(), 1.0 / 6, 1e-6);
    EXPECT_NEAR(view->zoomPoint()->y(), 1.0 / 6, 1e-6);
    EXPECT_FALSE(view->isZoomPreviewVisible());
    EXPECT_EQ(view->playerRect(), QRectF(0, 0, 1920, 1080));
    // Only the top-left third of the picture is on screen now: all red.
    image = s.grab();
    EXPECT_EQ(pixel(image, {5, 5}), RED);
    EXPECT_EQ(pixel(image, {630, 350}), RED);
    EXPECT_EQ(s.panel.presses, 2);

    // The next click returns to x1.
    mouse(view, {300, 200});
    EXPECT_EQ(view->playerScale(), PlayerView::ScaleType::Scale_x1);
    EXPECT_FALSE(view->zoomPoint().has_value());
    EXPECT_EQ(view->playerRect(), view->maskRect());
    EXPECT_EQ(s.panel.presses, 3);
}

TEST(PlayerViewTest, ChangingTheScaleWhileZoomedKeepsTheClickedSpotClampedForTheNewWindow)
{
    Surface s(640, 360);
    PlayerView *view = s.view;
    using Scale = PlayerView::ScaleType;
    // Sets the scale, clicks or lays the zoom out again, and checks the spot zoomed around.
    const auto spot = [&](Scale scale, std::optional<QPointF> click, double x, double y) {
        view->setPlayerScale(scale);
        if (click)
            mouse(view, *click);
        else
            view->layoutZoom();
        ASSERT_TRUE(view->zoomPoint().has_value());
        EXPECT_NEAR(view->zoomPoint()->x(), x, 1e-6);
        EXPECT_NEAR(view->zoomPoint()->y(), y, 1e-6);
    };
    spot(Scale::Scale_x2, QPointF(200, 120), 200.0 / 640, 120.0 / 360);
    spot(Scale::Scale_x4, {}, 200.0 / 640, 120.0 / 360); // the narrower window needs no clamping
    EXPECT_NEAR(view->playerRect().width(), 2560.0, 1e-6);
    mouse(view, {0, 0}); // back to x1
    // A spot near the edge is clamped again at every change of scale.
    spot(Scale::Scale_x2, QPointF(10, 10), 0.25, 0.25);
    spot(Scale::Scale_x4, {}, 0.125, 0.125);
    spot(Scale::Scale_x2, {}, 0.25, 0.25);
}

TEST(PlayerViewTest, TrimmedClipsGetABlackBandOverTheBottomStripAndTrimModeALabel)
{
    Surface s(960, 540);
    s.view->layoutZoom();
    EXPECT_TRUE(s.view->subMaskLabel()->isHidden());
    EXPECT_EQ(pixel(s.grab(), {700, 538}), YELLOW);
    // The band is 30 of 1080 lines high.
    s.view->setCutFile(true);
    s.view->layoutZoom();
    const QImage image = s.grab();
    EXPECT_TRUE(isBlack(pixel(image, {700, 538})) && isBlack(pixel(image, {700, 526})));
    EXPECT_EQ(pixel(image, {700, 520}), YELLOW);

    s.view->showTrimLabel(true);
    s.view->layoutZoom();
    QLabel *label = s.view->trimLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("● Trim Mode"));
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->pos(), s.view->playerRect().topLeft().toPoint() + QPoint(5, 5));
    s.view->showTrimLabel(false);
    EXPECT_TRUE(label->isHidden());
}

TEST(PlayerViewTest, TheGradientRunsFromBlackAtTheBottomToDarkGreyAtTheTopOverTheWholeSurface)
{
    PanelWidget panel;
    auto *view = new PlayerView(&panel);
    view->resize(960, 540);
    view->setGradient(true);
    QImage image = view->grab().toImage();
    const int middle = 480;
    const QRgb top = pixel(image, {middle, 1}), centre = pixel(image, {middle, 270}),
               bottom = pixel(image, {middle, 538});
    EXPECT_TRUE(isBlack(bottom));
    EXPECT_NEAR(qGray(top), 0x55, 4);
    EXPECT_GT(qGray(centre), qGray(bottom)) << "the picture's area shows the gradient too";
    EXPECT_LT(qGray(centre), qGray(top));
    view->setGradient(false);
    image = view->grab().toImage();
    EXPECT_TRUE(isBlack(pixel(image, {middle, 1})) && isBlack(pixel(image, {middle, 270})));
}

TEST(PlayerViewTest, ScaleFromRawAcceptsOneToFive)
{
    EXPECT_EQ(PlayerView::scaleFromRaw(3), PlayerView::ScaleType::Scale_x3);
    EXPECT_FALSE(PlayerView::scaleFromRaw(0) || PlayerView::scaleFromRaw(6));
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
    engine.replaceItem(clip);
    engine.seekExact(500);
    // Before the first decoded frame mpv may draw a black picture: wait for the bars.
    ASSERT_TRUE(EventLoop::waitUntil([&] {
        const QImage &frame = engine.softwareFrame();
        return frame.width() > 4 && qGray(frame.pixel(4, 4)) > 120;
    }));
    const QImage image = view.grab().toImage();
    const QRectF fit = view.fittedVideoRect();
    EXPECT_TRUE(isBlack(pixel(image, {10, 90})));
    EXPECT_TRUE(isBlack(pixel(image, {470, 90})));
    // The bars' top-left is light grey, the picture reaches the fitted rectangle's corners.
    EXPECT_GT(qGray(pixel(image, {fit.left() + 4, fit.top() + 4})), 120);
    EXPECT_FALSE(isBlack(pixel(image, {fit.right() - 4, fit.top() + 4})));
}

// The pointer beside the picture, over a part of the window that does not track it, and over another
// window of the program: the preview follows it there too, its centre held inside the picture.
TEST(PlayerViewTest, ZoomPreviewFollowsThePointerOverEveryWindowOfTheProgram)
{
    Surface s(640, 360);
    s.panel.resize(840, 360);
    QWidget sideBar(&s.panel);
    sideBar.setGeometry(640, 0, 200, 360);
    QWidget otherWindow;
    otherWindow.setGeometry(s.panel.mapToGlobal(QPoint(0, 400)).x(), s.panel.mapToGlobal(QPoint(0, 400)).y(),
                            300, 200);
    s.panel.show();
    otherWindow.show();
    s.view->setPlayerScale(PlayerView::ScaleType::Scale_x3);
    // At x3 the window is a third of the picture: its centre stays 640/6 and 360/6 inside the edges.
    const QRectF centres(640.0 / 6, 60, 640 - 2 * 640.0 / 6, 360 - 2 * 60);
    const struct
    {
        QWidget *over;
        QPointF at;
    } cases[] = {
        {&sideBar, {20, 30}}, {&sideBar, {150, 180}}, {&otherWindow, {200, 10}}, {&otherWindow, {5, 150}}};
    for (const auto &c : cases) {
        mouse(c.over, c.at, QEvent::MouseMove);
        ASSERT_TRUE(s.view->isZoomPreviewVisible());
        const QPointF pointer = s.view->mapFromGlobal(c.over->mapToGlobal(c.at));
        ASSERT_FALSE(s.view->rect().contains(pointer.toPoint())) << "the pointer is off the picture";
        const QPointF centre = s.view->zoomPreviewWindow().center();
        EXPECT_NEAR(centre.x(), std::clamp(pointer.x(), centres.left(), centres.right()), 1e-6) << c.at.x();
        EXPECT_NEAR(centre.y(), std::clamp(pointer.y(), centres.top(), centres.bottom()), 1e-6) << c.at.y();
    }
}
