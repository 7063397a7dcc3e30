#include "platform/MovieStillGrabber.h"

#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The ffmpeg program's frame at positionMs, scaled the way the grabber scales, as RGB bytes.
QByteArray referenceFrame(const QString &movie, int positionMs, QSize size, const QString &matrix)
{
    QByteArray out;
    const QString filter = QString("scale=%1:%2:flags=bicubic:in_color_matrix=%3:in_range=tv:out_range=pc")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(matrix);
    if (!Ffmpeg::run({"-ss", QString::number(positionMs / 1000.0, 'f', 3), "-i", movie, "-frames:v", "1",
                      "-vf", filter, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"},
                     &out))
        return {};
    return out;
}

double meanDifference(const QImage &image, const QByteArray &rgb)
{
    const int rowBytes = image.width() * 3;
    if (rgb.size() != rowBytes * image.height())
        return 1e9;
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        const auto *ref = reinterpret_cast<const uchar *>(rgb.constData()) + y * rowBytes;
        for (int x = 0; x < rowBytes; ++x)
            sum += std::abs(int(line[x]) - int(ref[x]));
    }
    return sum / (rowBytes * image.height());
}

class MovieStillGrabberTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        movie = dir->filePath("clip.mp4");
        // 3 s at 25 fps, a key frame every second: most positions need decoding past the key frame.
        ASSERT_TRUE(Ffmpeg::writeTestMovie(movie, 640, 360, 3.0));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static inline TempDir *dir = nullptr;
    static inline QString movie;
};

} // namespace

TEST_F(MovieStillGrabberTest, PixelsMatchTheFfmpegFrameAtThePosition)
{
    // 1530 ms lies inside the frame shown from 1520 ms to 1560 ms.
    for (const auto &[positionMs, frameMs] : {std::pair{0, 0}, {1520, 1520}, {1530, 1520}, {2040, 2040}}) {
        SCOPED_TRACE(positionMs);
        const auto still = MovieStillGrabber::grab(movie, positionMs);
        ASSERT_TRUE(still.has_value());
        ASSERT_EQ(still->size(), QSize(320, 180));
        const QImage rgb = still->convertToFormat(QImage::Format_RGB888);

        const double same = meanDifference(rgb, referenceFrame(movie, frameMs, rgb.size(), "bt709"));
        EXPECT_LT(same, 1.5);
        // The neighbouring frames and the other colour matrix must be clearly farther away, or the
        // comparison above would prove nothing.
        const double next = meanDifference(rgb, referenceFrame(movie, frameMs + 40, rgb.size(), "bt709"));
        EXPECT_GT(next, same + 4.0);
        const double otherMatrix = meanDifference(rgb, referenceFrame(movie, frameMs, rgb.size(), "bt601"));
        EXPECT_GT(otherMatrix, same + 4.0);
    }
}

TEST_F(MovieStillGrabberTest, PositionsOutsideTheMovieGiveNothing)
{
    for (int positionMs : {-1, -500, 3000, 60000})
        EXPECT_FALSE(MovieStillGrabber::grab(movie, positionMs).has_value()) << positionMs;
    EXPECT_TRUE(MovieStillGrabber::grab(movie, 2990).has_value());
}

TEST_F(MovieStillGrabberTest, UnreadableFilesGiveNothing)
{
    EXPECT_FALSE(MovieStillGrabber::grab(dir->filePath("missing.mp4"), 1).has_value());
    EXPECT_FALSE(
        MovieStillGrabber::grab(dir->write("garbage.mp4", QByteArray(20000, '\x5a')), 1).has_value());
    EXPECT_FALSE(MovieStillGrabber::grab(dir->write("empty.mp4", QByteArray()), 1).has_value());

    QFile file(movie);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    // Cut off before its index: the movie cannot be opened at all.
    EXPECT_FALSE(MovieStillGrabber::grab(dir->write("cut.mp4", whole.left(whole.size() / 2)), 1).has_value());
    // Frame data overwritten with noise, index intact: no crash, no endless loop, either result.
    QByteArray noisy = whole;
    for (qsizetype i = 2000; i < noisy.size() - 4000; i += 7)
        noisy[i] = char(i * 31);
    (void)MovieStillGrabber::grab(dir->write("noisy.mp4", noisy), 1500);
}

TEST(MovieStillGrabberSizeTest, FitsInsideTheLimitKeepingTheAspect)
{
    TempDir dir;
    for (const auto &[size, stillSize] : {std::pair{QSize(1920, 1080), QSize(320, 180)},
                                          {QSize(640, 480), QSize(240, 180)},
                                          {QSize(360, 640), QSize(101, 180)},
                                          {QSize(200, 100), QSize(200, 100)}}) {
        SCOPED_TRACE(size.width());
        const QString path = dir.filePath(QString("m%1.mp4").arg(size.width()));
        ASSERT_TRUE(Ffmpeg::writeTestMovie(path, size.width(), size.height(), 0.2));
        const auto still = MovieStillGrabber::grab(path, 1);
        ASSERT_TRUE(still.has_value());
        EXPECT_EQ(still->size(), stillSize);
    }
    // A smaller limit is honoured as well.
    const auto small = MovieStillGrabber::grab(dir.filePath("m1920.mp4"), 1, QSize(160, 160));
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(small->size(), QSize(160, 90));
}
