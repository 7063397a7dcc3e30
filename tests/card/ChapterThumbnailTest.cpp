#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"
#include "recording/CutVideoBoxWriter.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include "CardFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>

TEST(ChapterThumbnailTest, IsMadeOnceFromTheMovieAndThenOnlyReported)
{
    TempDir dir;
    SampleCardWriter writer(SampleScenario::singleChapter(2000));
    ASSERT_TRUE(writer.writeCard(dir.path())) << writer.lastError().toStdString();
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
    ASSERT_EQ(card._tripList.size(), 1u);
    const auto chapter = card._tripList[0]->chapters().at(0);

    EXPECT_FALSE(chapter->makeThumbnail(false).has_value());
    EXPECT_EQ(chapter->retryCntThumbnail(), 0);
    const auto made = chapter->makeThumbnail(true);
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(QFileInfo(made->toLocalFile()).absolutePath() + '/',
              QFileInfo(CommonConst::DIR_PATH_THUMB()).absoluteFilePath());
    QImageReader reader(made->toLocalFile());
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_LE(reader.size().width(), 320);
    EXPECT_LE(reader.size().height(), 180);
    EXPECT_EQ(chapter->retryCntThumbnail(), 1);

    EXPECT_EQ(chapter->makeThumbnail(true), made);
    EXPECT_EQ(chapter->makeThumbnail(false), made);
    EXPECT_EQ(chapter->retryCntThumbnail(), 1);
}

TEST(ChapterThumbnailTest, AMovieWithoutFramesCountsEveryAttempt)
{
    CardFixture fixture;
    fixture.addMovie("202405011230", 1, 5000); // an empty file
    auto card = fixture.load();
    const auto chapter = card->_tripList.at(0)->chapters().at(0);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        EXPECT_FALSE(chapter->makeThumbnail(true).has_value());
        EXPECT_EQ(chapter->retryCntThumbnail(), attempt);
    }
}

TEST(ChapterThumbnailTest, TrimmedClipsGetABandOverTheirTextInAFileOfTheirOwn)
{
    QImage still(320, 180, QImage::Format_RGB888);
    still.fill(Qt::white);
    const QImage masked = ChapterData::maskBottomBand(still);
    ASSERT_EQ(masked.size(), still.size());
    // 180 * 30 / 1080 = 5 rows.
    EXPECT_EQ(masked.pixelColor(10, 174), QColor(Qt::white));
    for (int y = 175; y < 180; ++y)
        EXPECT_EQ(masked.pixelColor(300, y), QColor(Qt::black)) << y;

    // Two chapters of one trip, and one of the same file name in another folder.
    const auto trip = TripData::create(nullptr,
                                       {QUrl::fromLocalFile("/card/MOVE/MOVE001/m2024050112300001.MP4"),
                                        QUrl::fromLocalFile("/card/MOVE/MOVE001/m2024050112300002.MP4"),
                                        QUrl::fromLocalFile("/backup/MOVE001/m2024050112300001.MP4")},
                                       "202405011230");
    std::vector<QString> paths;
    for (const auto &chapter : trip->chapters())
        paths.push_back(chapter->maskedThumbnailPath());
    ASSERT_EQ(paths.size(), 3u);
    for (const QString &path : paths) {
        EXPECT_TRUE(path.startsWith(CommonConst::DIR_PATH_THUMB()));
        EXPECT_TRUE(path.endsWith("_cut_thum.jpeg"));
    }
    EXPECT_NE(paths[0], paths[1]);
    EXPECT_NE(paths[0], paths[2]);
    EXPECT_NE(paths[1], paths[2]);
}

namespace {

// Makes a trimmed clip: an ffmpeg movie with the trim tool's metadata box of count frames.
bool writeTrimmedClip(const QString &path, QSize size)
{
    if (!Ffmpeg::writeTestMovie(path, size.width(), size.height(), 1.0))
        return false;
    const Date start = Date::fromUnixSeconds(1714566896);
    VideoInfo recording;
    std::map<int, VideoFrame> table;
    for (int i = 0; i < 20; ++i) {
        VideoFrame frame;
        frame.time = start.addingMilliseconds(i * 36);
        frame._timeStamp = uint32_t(700000 + i * 36);
        frame._movieTimeStamp = uint32_t(i * 36);
        frame._id = 0x55;
        frame.blockNo = 1;
        table.emplace(i * 36, frame);
    }
    recording.setCameraFrames(0, table);
    recording.setCameraFrames(1, table);
    recording.rebuildKeyLists();
    recording.detectType = 10;
    recording._playback.detectTime = start;
    recording._fileVersion = "0714";
    recording._terminalType = TerminalType::AllInOne;
    recording._recMode = CommonConst::RecMode::Nomal;
    const auto info =
        CutVideoKihonInfo::initFromVideoInfo(recording, 0, 19 * 36, 20 * 36, true, true, true, true);
    return CutVideoBoxWriter::append(path, info);
}

} // namespace

TEST(ChapterThumbnailTest, EachTrimmedClipGetsItsOwnMaskedThumbnail)
{
    TempDir dir;
    const QString wide = dir.filePath("a/clip.mp4");
    const QString narrow = dir.filePath("b/clip.mp4"); // same name, other folder
    QDir().mkpath(dir.filePath("a"));
    QDir().mkpath(dir.filePath("b"));
    ASSERT_TRUE(writeTrimmedClip(wide, {640, 360}));
    ASSERT_TRUE(writeTrimmedClip(narrow, {640, 480}));
    const auto trip =
        TripData::create(nullptr, {QUrl::fromLocalFile(wide), QUrl::fromLocalFile(narrow)}, QString());
    const auto chapters = trip->chapters();
    ASSERT_EQ(chapters.size(), 2u);

    std::vector<QString> made;
    for (const auto &chapter : chapters) {
        // Before its driving data is known, a clip's thumbnail is not masked; so build it first.
        const auto picture = chapter->getPicture(true);
        ASSERT_TRUE(picture && picture->video && picture->video->_isCutVideo);
        const auto thumbnail = chapter->makeThumbnail(true);
        ASSERT_TRUE(thumbnail.has_value());
        EXPECT_EQ(thumbnail->toLocalFile(), chapter->maskedThumbnailPath());
        made.push_back(thumbnail->toLocalFile());
    }
    ASSERT_NE(made[0], made[1]);
    // Each file still holds its own clip's picture, with the band along the bottom.
    const QImage first(made[0]);
    const QImage second(made[1]);
    EXPECT_EQ(first.size(), QSize(320, 180));
    EXPECT_EQ(second.size(), QSize(240, 180));
    for (const QImage &image : {first, second}) {
        EXPECT_LT(qGray(image.pixel(image.width() / 2, image.height() - 2)), 16);
        EXPECT_GT(qGray(image.pixel(image.width() / 2, image.height() / 2)), 16);
    }
}
