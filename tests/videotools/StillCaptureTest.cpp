#include "videotools/StillCapture.h"

#include "recording/VideoFrame.h"
#include "videotools/OverlayTextLayout.h"
#include "videotools/SubtitleWriter.h"

#include "ToolTestCard.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImageReader>
#include <QTimeZone>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

double meanGrey(const QImage &image, QRect area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (area.width() * area.height());
}

// The rows and columns of a picture that hold a pixel brighter than dark grey.
QRect brightArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 200)
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

TEST(StillCaptureTest, TakesTheExactFrameAtNaturalSizeAsJpeg)
{
    TempDir dir;
    // A grey that steps up each second (20, 80, 140, 200) with key frames only every 4 s, so the
    // frame at 2.5 s must be decoded forward from the start; 640 x 360 is above the thumbnail size.
    const QString movie = dir.filePath("steps.mp4");
    ASSERT_TRUE(Ffmpeg::run({"-f", "lavfi", "-i", "nullsrc=s=640x360:r=25:d=4", "-vf",
                             "geq=lum='20+60*floor(T)':cb=128:cr=128,format=yuv420p", "-c:v", "libx264", "-g",
                             "100", movie}));
    CaptureRequest request{movie, 2500, CommonConst::RecMode::Nomal, 0.0, {}, dir.filePath("still.jpeg")};
    ASSERT_TRUE(StillCapture::capture(request));

    QImageReader reader(request.destination);
    EXPECT_EQ(reader.format(), "jpeg"); // from the bytes: a TIFF under this name would read as "tiff"
    const QImage still = reader.read();
    ASSERT_EQ(still.size(), QSize(640, 360));
    // Limited-range luma 140 is about 144 in full range; its neighbours 80 and 200 are far off.
    EXPECT_NEAR(meanGrey(still, still.rect()), 144.0, 6.0);

    // The still gets the permissions of a new file under the user's umask.
    for (const auto &[mask, permissions] : {std::pair{022, 0644}, std::pair{077, 0600}}) {
        const mode_t old = ::umask(mode_t(mask));
        ASSERT_TRUE(StillCapture::capture(request));
        ::umask(old);
        struct stat info;
        ASSERT_EQ(::stat(QFile::encodeName(request.destination).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, mode_t(permissions)) << mask;
    }

    // No picture there: nothing is written and an older file stays.
    request.positionMs = 60000;
    EXPECT_FALSE(StillCapture::capture(request));
    EXPECT_EQ(QImageReader(request.destination).read().size(), QSize(640, 360));
    request.moviePath = dir.filePath("missing.mp4");
    request.destination = dir.filePath("other.jpeg");
    EXPECT_FALSE(StillCapture::capture(request));
    EXPECT_FALSE(QFile::exists(request.destination));
}

TEST(StillCaptureTest, BrightnessOfTheSliderOnAGreyFrame)
{
    // The player's slider: darker by up to 0.3 below 1, brighter by 0.1 per step above it.
    const struct
    {
        double slider, mean;
    } cases[] = {{0.0, 128 - 0.3 * 255}, {1.0, 128}, {3.0, 128 + 0.2 * 255}, {5.0, 128 + 0.4 * 255}};
    for (const auto &c : cases) {
        QImage grey(32, 16, QImage::Format_RGB32);
        grey.fill(qRgb(128, 128, 128));
        StillCapture::applyBrightness(grey, StillCapture::brightnessOffset(c.slider));
        EXPECT_NEAR(meanGrey(grey, grey.rect()), c.mean, 0.6) << c.slider;
    }
    QImage white(4, 4, QImage::Format_RGB32);
    white.fill(Qt::white);
    StillCapture::applyBrightness(white, StillCapture::brightnessOffset(5.0));
    EXPECT_EQ(white.pixel(0, 0), qRgb(255, 255, 255)); // clipped, not wrapped
}

TEST(StillCaptureTest, TextSitsBottomLeftInTheRecordingModesSize)
{
    const struct
    {
        CommonConst::RecMode mode;
        int minHeight, maxHeight;
    } cases[] = {{CommonConst::RecMode::HighQuality, 14, 26},
                 {CommonConst::RecMode::Nomal, 14, 26},
                 {CommonConst::RecMode::LongRec, 4, 11}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.mode));
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(qRgb(100, 100, 100));
        StillCapture::drawOverlayText(image, QStringLiteral("Hg 12:34"), StillCapture::fontPixelSize(c.mode));
        const QRect text = brightArea(image);
        EXPECT_TRUE(text.height() >= c.minHeight && text.height() <= c.maxHeight) << text.height();
        EXPECT_TRUE(text.left() < 8 && text.bottom() > image.height() - 10)
            << text.left() << "," << text.bottom();
        // The white glyphs carry a dark outline on the grey.
        int dark = 0;
        const QRect rim = text.adjusted(-2, -2, 2, 2) & image.rect();
        for (int y = rim.top(); y <= rim.bottom(); ++y)
            for (int x = rim.left(); x <= rim.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 50;
        EXPECT_GT(dark, text.width());
    }
    QImage untouched(40, 20, QImage::Format_RGB32);
    untouched.fill(Qt::black);
    StillCapture::drawOverlayText(untouched, QString(), 20);
    EXPECT_TRUE(brightArea(untouched).isEmpty());
}

TEST(StillCaptureTest, RequestTextNeedsAFlagAndDrivingData)
{
    ToolTestCard &card = ToolTestCard::shared();
    const OverlaySettings settings;
    const OverlayFlags speed{false, true, false, false};
    ToolInfo info = card.tripInfo(ToolType::Capture, 2500);
    auto request = StillCapture::makeRequest(info, speed, settings, "x.jpeg");
    ASSERT_TRUE(request);
    EXPECT_TRUE(request->overlayText.contains("100[KM/H]")) << qPrintable(request->overlayText);
    EXPECT_EQ(request->positionMs, 2500);
    EXPECT_TRUE(StillCapture::makeRequest(info, {}, settings, "x.jpeg")->overlayText.isEmpty());
    info.selectEndSumFrameTS = int64_t(1) << 40; // beyond the 32-bit timeline
    EXPECT_TRUE(StillCapture::makeRequest(info, speed, settings, "x.jpeg")->overlayText.isEmpty());
    info.chapter.reset();
    EXPECT_FALSE(StillCapture::makeRequest(info, speed, settings, "x.jpeg"));
}

TEST(StillCaptureTest, TheWidestOverlayLiesWhollyInsideThePictureAtTheCamerasSizes)
{
    // Every item with its widest value: a twelve-hour date, three-digit speed, the sensor's largest G,
    // both coordinates with a minus sign and three integer digits where they can have them.
    VideoFrame frame;
    frame.time = Date::fromDateTime(QDateTime(QDate(2024, 12, 28), QTime(12, 58, 58), QTimeZone::utc()));
    frame.speed = 255;
    frame.gX = frame.gY = -4.094;
    frame._latitude = -89 * 36000 - 35999;
    frame._longitude = -179 * 36000 - 35999;
    const OverlaySettings settings{DateFormatType::MDYAMPM, 0, false, true};
    const QString text = SubtitleWriter(settings).makeInfoText(frame, {true, true, true, true});
    const struct
    {
        QSize picture;
        CommonConst::RecMode mode;
    } cases[] = {{{1920, 1080}, CommonConst::RecMode::HighQuality},
                 {{1280, 720}, CommonConst::RecMode::Nomal},
                 {{640, 360}, CommonConst::RecMode::LongRec},
                 {{640, 360}, CommonConst::RecMode::Nomal}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture.width());
        QImage image(c.picture, QImage::Format_RGB32);
        const QRgb background = qRgb(100, 100, 100);
        image.fill(background);
        StillCapture::drawOverlayText(image, text, StillCapture::fontPixelSize(c.mode));
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != background)
                    ink |= QRect(x, y, 1, 1);
        // Cut text runs into the edge; whole text keeps the corner's inset on every side.
        EXPECT_GE(ink.left(), 1);
        EXPECT_LE(ink.right(), image.width() - 2) << "the text runs into the right edge";
        EXPECT_GE(ink.top(), 1);
        EXPECT_LE(ink.bottom(), image.height() - 2);
        const OverlayTextLayout layout(text, StillCapture::fontPixelSize(c.mode), image.width());
        std::printf("[overlay] %dx%d: %lld line(s) of %d px, ink %d..%d x %d..%d\n", image.width(),
                    image.height(), static_cast<long long>(layout.lines().size()), layout.pixelSize(),
                    ink.left(), ink.right(), ink.top(), ink.bottom());
    }
}
