// The divided DAT reader: header values, the thumbnail frame and the first and last times.
#include "recording/DividedDatReader.h"
#include "platform/PlatformError.h"
#include "recording/BcdPosition.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleDatWriter.h"
#include "support/TempDir.h"
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const SampleDatWriter writer(SampleScenario::standard(), SampleDatWriter::placeholderJpegs(3));
const QString NAME = "M202405010300-0002.DAT";

std::shared_ptr<VideoInfo> readDivided(const QByteArray &bytes, const QString &name = NAME)
{
    TempDir dir;
    QStringList errors;
    auto info = DividedDatReader::fromDivisionFile(QUrl::fromLocalFile(dir.write(name, bytes)), errors);
    EXPECT_TRUE(errors.isEmpty());
    return info;
}

// Start of frame i: the 48-byte header and its items, then 64-byte heads and pictures with their marker.
qsizetype frameAt(const QByteArray &file, size_t i)
{
    qsizetype at = 48 + 8 * uint8_t(file[32]);
    for (size_t k = 0; k < i; ++k)
        at += 64 + qsizetype(qFromBigEndian<uint32_t>(file.constData() + at));
    return at;
}

} // namespace

TEST(DividedDatReaderTest, ThumbnailIsTheFirstKind55FrameOfLocalFilesWithTheDividedNames)
{
    const auto info = readDivided(writer.dividedFile());
    const auto &frames = writer.frames();
    EXPECT_EQ(info->_thumbnail._timeStamp, frames[2].timeStamp);
    // Positions are brought to the frame unit (1/36000 degree) every other reader stores.
    EXPECT_EQ(info->_thumbnail._longitude, frames[2].longitude);
    EXPECT_EQ(info->_thumbnail._latitude, frames[2].latitude);
    EXPECT_EQ(info->getCameraFrames(0).at(0)._longitude, frames[2].longitude);
    EXPECT_EQ(info->_thumbnail._imageData, info->_jpegHeader);
    EXPECT_EQ(info->_playback.movieFPS, "01");
    EXPECT_EQ(info->_playback.userCarCode, "12345678"); // the new header's "不明" is replaced
    EXPECT_EQ(info->firstTime, Date::fromUnixSeconds(frames[1].unixSeconds));
    // The last marker in a file shorter than the search window gives the last time.
    EXPECT_EQ(info->lastTime, Date::fromUnixSeconds(frames.back().unixSeconds));

    QStringList errors;
    DividedDatReader::fromDivisionFile(QUrl("https://example.invalid/Video.dat"), errors);
    EXPECT_EQ(errors, QStringList{"画像データがありません。"});
    EXPECT_TRUE(readDivided(writer.dividedFile(), "G2020010112000001.DAT")->firstTime.isDistantPast());
    EXPECT_FALSE(readDivided(writer.dividedFile(), "Video.dat")->firstTime.isDistantPast());
}

TEST(DividedDatReaderTest, DamagedFieldsAndFramesLeaveTheirDefaults)
{
    const auto &frames = writer.frames();
    QByteArray file = writer.dividedFile();
    file[frameAt(file, 2) + 52] = char(0x3A); // latitude digit that is not decimal
    // A bad digit in the second frame's date: the first frame's date stays the first time.
    file.replace(frameAt(file, 0) + 36, 6, SampleDatWriter::bcdDate(frames[0].unixSeconds - 60));
    file[frameAt(file, 1) + 36] = char(0x9A);
    auto info = readDivided(file);
    EXPECT_EQ(info->_thumbnail._latitude, 0);
    EXPECT_EQ(info->_thumbnail._longitude, frames[2].longitude);
    EXPECT_EQ(info->firstTime, Date::fromUnixSeconds(frames[0].unixSeconds - 60));

    // A picture running past the end ends the walk before the thumbnail.
    file = writer.dividedFile();
    qToBigEndian<uint32_t>(0x7FFFFFFF, file.data() + frameAt(file, 1));
    info = readDivided(file);
    EXPECT_NE(info->_thumbnail._id, 0x55);
    EXPECT_EQ(info->firstTime, Date::fromUnixSeconds(frames[1].unixSeconds));
}

TEST(DividedDatReaderTest, BcdPositionConversion)
{
    // (longitude text, latitude text, longitude, latitude)
    const std::tuple<const char *, const char *, int64_t, int64_t> cases[] = {
        {"13945123", "3541234", 503112300, 128483400},
        {"13945123", "35412340", 503112300, 128483400},
        {"00000000", "0000000", 0, 0},
        {"99999999", "9999999", 999 * 3600000LL + 99 * 60000 + 99900, 99 * 3600000 + 99 * 60000 + 99900},
    };
    for (const auto &[longitude, latitude, lon, lat] : cases) {
        EXPECT_EQ(BcdPosition::convertLongitude(longitude), lon);
        EXPECT_EQ(BcdPosition::convertLatitude(latitude), lat);
    }
    for (const char *bad : {"1394512A", "1394512", "139 4512"})
        EXPECT_THROW(BcdPosition::convertLongitude(bad), PlatformError);
}
