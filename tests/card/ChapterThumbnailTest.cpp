#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"
#include "recording/CutVideoBoxWriter.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include "CardFixture.h"

#include <gtest/gtest.h>

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
