// The event recording reader over files samplecard's DAT writer makes, intact and damaged.
#include "recording/EventRecordingReader.h"
#include "recording/RecordingRead.h"
#include "samplecard/SampleDatWriter.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"
#include <QtEndian>

namespace {

Read readEvent(const QByteArray &bytes, Date left = Date::distantPast())
{
    TempDir dir;
    Read r;
    r.info = EventRecordingReader::readFileEvent(dir.write("Video.dat", bytes), left, Date::distantFuture(),
                                                 PictureData::PictureDataType::All, nullptr, r.isError);
    return r;
}

const SampleDatWriter writer(SampleScenario::standard(), SampleDatWriter::placeholderJpegs(3));

// Start of block i (0-based): every block is its 96-byte fixed part and its picture.
qsizetype blockAt(size_t i)
{
    qsizetype at = 0x2000;
    for (size_t k = 0; k < i; ++k)
        at += 96 + writer.frames()[k].jpeg.size();
    return at;
}

} // namespace

// Positions are compared through recdump in the DAT round trip.
TEST(EventRecordingReaderTest, ReadsEveryBlockAfterTheThumbnailWithItsImageAndSkipsThoseBeforeTheWindow)
{
    const Read r = readEvent(writer.eventFile());
    ASSERT_FALSE(r.isError);
    VideoInfo &info = *r.info;
    const auto &frames = writer.frames();
    EXPECT_EQ(info.cameras, 2);
    EXPECT_EQ(info._playback.gValue, "0064");
    EXPECT_EQ(info._thumbnail._timeStamp, frames[0].timeStamp);
    EXPECT_EQ(info._thumbnail._imageData, frames[0].jpeg); // from the block, not the file's start

    const FrameTable all = info.getCameraFrames(0);
    ASSERT_EQ(all.size(), frames.size() - 1);
    size_t i = 1;
    for (const auto &[key, frame] : all) {
        const SampleDatFrame &f = frames[i++];
        EXPECT_EQ(key, int(f.timeStamp - frames[1].timeStamp));
        EXPECT_EQ(frame.camera, f.camera);
        EXPECT_EQ(frame._imageData, f.jpeg);
    }
    EXPECT_EQ(info.getCameraFrames(2).size(), frames.size() / 2);
    EXPECT_EQ(info._timeSpan, frames.back().timeStamp - frames[1].timeStamp);
    EXPECT_EQ(info._preTimeSpan, frames[frames.size() - 2].timeStamp - frames[1].timeStamp);

    const Read windowed = readEvent(writer.eventFile(), Date::fromUnixSeconds(frames.back().unixSeconds));
    // The first block inside the window is the thumbnail and counts for no time range.
    const size_t inWindow = size_t(std::count_if(frames.begin(), frames.end(), [&](const SampleDatFrame &f) {
        return f.unixSeconds == frames.back().unixSeconds;
    }));
    EXPECT_EQ(windowed.info->getCameraFrames(0).size(), inWindow - 1);
    EXPECT_EQ(windowed.info->_thumbnail.time, Date::fromUnixSeconds(frames.back().unixSeconds));
}

TEST(EventRecordingReaderTest, ViolationCodesUseTheSharedMapping)
{
    // (code, qualifier, type, error)
    const std::tuple<uint8_t, uint8_t, ViolationType, bool> cases[] = {
        {0x14, 0x00, ViolationType::Overspeed, false},  {0x14, 0x01, ViolationType::All, false},
        {0x10, 0x00, ViolationType::GDetection, false}, {0x13, 0x00, ViolationType::Decel, false},
        {0x17, 0x00, ViolationType::All, false},        {0x1A, 0x00, ViolationType::All, true},
    };
    for (const auto &[code, qualifier, expected, isError] : cases) {
        SCOPED_TRACE(code);
        QByteArray file = writer.eventFile();
        file[blockAt(1) + 77] = char(code);
        file[blockAt(1) + 78] = char(qualifier);
        const Read r = readEvent(file);
        EXPECT_EQ(r.isError, isError);
        EXPECT_EQ(r.info->getCameraFrames(0).at(0).ex.violationType, expected);
    }
}

TEST(EventRecordingReaderTest, DamageEndsThePassAtThePreviousBlock)
{
    const Damage cases[] = {
        // frames in camera 0
        {"other identifier", [](QByteArray &f) { f[blockAt(4) + 93] = 'X'; }, 3, false},
        {"block length 96", [](QByteArray &f) { f.replace(blockAt(4), 4, HostileFiles::u32(96)); }, 3, false},
        {"block length 0", [](QByteArray &f) { f.replace(blockAt(4), 4, HostileFiles::u32(0)); }, 3, false},
        {"block past the end", [](QByteArray &f) { f.chop(1); }, writer.frames().size() - 2, false},
        {"shorter than its header", [](QByteArray &f) { f.truncate(0x1FFF); }, 0, true},
        {"no items", [](QByteArray &f) { f[64] = 0; }, 0, false},
        {"item count not BCD", [](QByteArray &f) { f[64] = char(0x0B); }, 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray file = writer.eventFile();
        c.damage(file);
        const Read r = readEvent(file);
        EXPECT_EQ(r.isError, c.isError);
        EXPECT_EQ(r.info->getCameraFrames(0).size(), std::max<size_t>(c.frames, 1));
        if (c.frames == 0)
            EXPECT_EQ(r.info->_timeSpan, 0u);
    }
}
