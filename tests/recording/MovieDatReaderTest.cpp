// The movie DAT reader over files samplecard's DAT writer makes, intact and damaged.
#include "recording/MovieDatReader.h"
#include "recording/RecordingRead.h"
#include "recording/RecordingTempFiles.h"
#include "samplecard/SampleDatWriter.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"
#include <QtEndian>

namespace {

Read readMovie(const QByteArray &bytes, Date left = Date::distantPast(),
               PictureData::PictureDataType type = PictureData::PictureDataType::Classify,
               FullTimeDataInfo *fullTime = nullptr)
{
    TempDir dir;
    Read r;
    r.info = MovieDatReader::read(dir.write("M202405010300-0001.DAT", bytes), left, Date::distantFuture(),
                                  type, fullTime, r.isError);
    return r;
}

const SampleDatWriter writer(SampleScenario::standard(), SampleDatWriter::placeholderJpegs(3));
// The second block starts after the header, the first block's 48-byte head, its payload and records.
qsizetype secondBlock(const QByteArray &file)
{
    return 0x2000 + qsizetype(qFromBigEndian<uint32_t>(file.constData() + 0x2000));
}

} // namespace

// The frames' positions, speeds and times are compared through recdump in the DAT round trip.
TEST(MovieDatReaderTest, ReadsHeaderItemsEveryPictureFrameAndWithAllTheLastPictureAndSound)
{
    const Read r = readMovie(writer.movieFile());
    ASSERT_FALSE(r.isError);
    VideoInfo &info = *r.info;
    EXPECT_EQ(info._fileVersion, "0714");
    EXPECT_EQ(info._playback.userCarCode, "12345678"); // no header file, no FullTimeDataInfo
    EXPECT_EQ(info._playback.movieFPS, "01");
    EXPECT_FALSE(info.bMoveSoundMute);
    EXPECT_EQ(info._playback.detectionType, DetectionType::GSensor);

    const auto &frames = writer.frames();
    const FrameTable cameraOne = info.getCameraFrames(1);
    ASSERT_EQ(cameraOne.size(), frames.size());
    size_t i = 0;
    for (const auto &[key, frame] : cameraOne) {
        EXPECT_EQ(key, int(frames[i].timeStamp - frames.front().timeStamp));
        EXPECT_EQ(frame._movieTimeStamp, i * 199);                  // "01": a frame every 199.8 ms, truncated
        EXPECT_TRUE(frame.sameAs(info.getCameraFrames(0).at(key))); // the same pool frames
        ++i;
    }
    EXPECT_EQ(info._timeSpan, frames.back().timeStamp - frames.front().timeStamp);

    // The user codes come from the information record only when one is given.
    FullTimeDataInfo fullTime;
    fullTime._userCarCode = "11112222";
    const Read given =
        readMovie(writer.movieFile(), Date::distantPast(), PictureData::PictureDataType::Classify, &fullTime);
    EXPECT_EQ(given.info->_playback.userCarCode, "11112222");
    EXPECT_EQ(given.info->_playback.userDriverCode, "");

    const Read all = readMovie(writer.movieFile(), Date::distantPast(), PictureData::PictureDataType::All);
    EXPECT_EQ(readAll(all.info->_channel1TempName), writer.frames().back().jpeg);
    EXPECT_EQ(readAll(all.info->_aacTempName), QByteArray(32, char(0x21)));
    EXPECT_TRUE(all.info->_channel1TempName.startsWith(RecordingTempFiles::path("")));
}

TEST(MovieDatReaderTest, BlocksOutsideTheWindowAndAfterAnEndRecordAreLeftOut)
{
    const auto &frames = writer.frames();
    // The first block ends before the second second of the recording.
    const Read windowed = readMovie(writer.movieFile(), Date::fromUnixSeconds(frames.back().unixSeconds));
    EXPECT_EQ(stamps(*windowed.info).front(), frames[frames.size() / 2].timeStamp);

    // An end record in place of the second record: the first block keeps one frame, the next block is read.
    QByteArray file = writer.movieFile();
    const qsizetype records =
        0x2000 + 48 + qsizetype(qFromBigEndian<uint32_t>(file.constData() + 0x2000 + 8));
    file.replace(records + 64 + 60, 4, SampleDatWriter::IDENTIFIER);
    const Read ended = readMovie(file);
    EXPECT_EQ(stamps(*ended.info).size(), 1 + frames.size() / 2);
}

TEST(MovieDatReaderTest, DamagedBlockLengthsEndTheWalkAndShortBlocksAreSkipped)
{
    const QByteArray good = writer.movieFile();
    const size_t half = writer.frames().size() / 2;
    const Damage cases[] = {
        {"zero length", [](QByteArray &f) { f.replace(0x2000, 4, HostileFiles::u32(0)); }, 0, true},
        {"second block of zero length",
         [&](QByteArray &f) { f.replace(secondBlock(f), 4, HostileFiles::u32(0)); }, half, false},
        {"second block past the end",
         [&](QByteArray &f) { f.replace(secondBlock(f), 4, HostileFiles::u32(0xFFFFFF00)); }, half, false},
        {"truncated second block", [](QByteArray &f) { f.chop(10); }, half, false},
        // Shorter than a block's own header: it holds no records, and the walk goes on after it.
        {"40-byte block between two good ones",
         [&](QByteArray &f) { f.insert(secondBlock(f), HostileFiles::u32(40) + QByteArray(36, '\x5A')); },
         2 * half, false},
        {"shorter than its header", [](QByteArray &f) { f.truncate(0x2000 - 1); }, 0, true},
        {"header alone", [](QByteArray &f) { f.truncate(0x2000); }, 0, true},
        {"bad item type, later items still read", [](QByteArray &f) { f[80] = char(0x1A); }, 2 * half, true},
    };
    for (const Damage &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray file = good;
        c.damage(file);
        Read r = readMovie(file);
        EXPECT_EQ(r.isError, c.isError);
        EXPECT_EQ(r.info->getCameraFrames(1).size(), std::max<size_t>(c.frames, 1));
        if (c.frames == 0)
            EXPECT_EQ(r.info->_timeSpan, 0u);
        else
            EXPECT_EQ(r.info->_playback.userCarCode, "12345678");
    }
}
