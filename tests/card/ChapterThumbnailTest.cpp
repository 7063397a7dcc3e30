#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include "CardFixture.h"

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
