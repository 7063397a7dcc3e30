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
    const QString wide = dir.write("a/clip.mp4", {});
    const QString narrow = dir.write("b/clip.mp4", {}); // same name, other folder
    ASSERT_TRUE(writeTrimmedClip(wide, {640, 360}));
    ASSERT_TRUE(writeTrimmedClip(narrow, {640, 480}));
    const auto trip =
        TripData::create(nullptr, {QUrl::fromLocalFile(wide), QUrl::fromLocalFile(narrow)}, QString());
    std::vector<QString> made;
    for (const auto &chapter : trip->chapters()) {
        // Before its driving data is known, a clip's thumbnail is not masked; so build it first.
        const auto picture = chapter->getPicture(true);
        ASSERT_TRUE(picture && picture->video && picture->video->_isCutVideo);
        const auto thumbnail = chapter->makeThumbnail(true);
        ASSERT_TRUE(thumbnail.has_value());
        EXPECT_EQ(thumbnail->toLocalFile(), chapter->maskedThumbnailPath());
        made.push_back(thumbnail->toLocalFile());
    }
    ASSERT_EQ(made.size(), 2u);
    ASSERT_NE(made[0], made[1]);
    // Each file still holds its own clip's picture, with the band along the bottom.
    const QImage first(made[0]);
    const QImage second(made[1]);
    EXPECT_EQ(std::pair(first.size(), second.size()), std::pair(QSize(320, 180), QSize(240, 180)));
    for (const QImage &image : {first, second}) {
        EXPECT_LT(qGray(image.pixel(image.width() / 2, image.height() - 2)), 16);
        EXPECT_GT(qGray(image.pixel(image.width() / 2, image.height() / 2)), 16);
    }
}
