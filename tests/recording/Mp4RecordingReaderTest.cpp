#include "recording/Mp4RecordingReader.h"
#include "recording/DataUtility.h"
#include "recording/Mp4Reader.h"
#include "recording/RecordingRead.h"
#include "recording/SettingInfo.h"
#include "samplecard/SampleRecord.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"

#include <QFile>

namespace {

const auto box = HostileFiles::box;
const auto u32 = HostileFiles::u32;
constexpr uint32_t KEY = 0xA1B2C3D4;
const Date BASE_TIME = Date::fromUnixSeconds(1714566600); // 2024-05-01 12:30:00 UTC

// A header record: detection code (packed BCD), time, switch byte, detection counter, block key and
// setting items.
struct Header
{
    uint8_t code = 0x17, sw = 0;
    uint32_t detectCounter = 0;
    std::vector<QByteArray> items;
    int announced = -1; // item count written at byte 64; -1: the number of items

    QByteArray bytes() const
    {
        QByteArray h = char(code) + QByteArray(1, '\0') + u32(uint32_t(BASE_TIME.toUnixSeconds())) +
                       QByteArray(34, '\0') + u32(detectCounter) + u32(KEY) + QByteArray(32, '\0');
        h[30] = char(sw);
        h[64] = char(announced < 0 ? items.size() : size_t(announced));
        for (const auto &item : items)
            h += item;
        return h;
    }
};

QByteArray item(uint8_t high, uint8_t low, std::initializer_list<uint8_t> data)
{
    const uint8_t code[] = {high, low};
    const auto b = SettingInfo::createItem(code, std::span(data.begin(), data.size()));
    return QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size()));
}

SampleRecord record(uint32_t counter, int64_t secondsAfterBase = 0, uint8_t id = 0x55)
{
    SampleRecord r;
    r.id = id;
    r.counter = counter;
    r.unixSeconds = uint32_t(BASE_TIME.toUnixSeconds() + secondsAfterBase);
    r.longitude = 5000000;
    r.latitude = 1280000;
    r.blockKey = KEY;
    return r;
}

// A data block: records then the 64 bytes the camera leaves unused.
QByteArray block(const std::vector<SampleRecord> &records, bool trailer = true)
{
    QByteArray b;
    for (const auto &r : records)
        b += r.bytes();
    return trailer ? b + QByteArray(64, '\0') : b;
}

QByteArray mp4(std::vector<QByteArray> blocks, const QByteArray &header = Header().bytes())
{
    blocks.insert(blocks.begin(), header);
    return HostileFiles::mp4(blocks);
}

Read readBytes(const QByteArray &file, Date left = Date::distantPast(), Date right = Date::distantFuture(),
               const QByteArray &fileData = {})
{
    Read r;
    r.info = Mp4RecordingReader::read(bytesOf(file), left, right, r.isError, fileData);
    return r;
}

std::vector<int> keysOf(VideoInfo &info, int camera)
{
    const FrameTable table = info.getCameraFrames(camera);
    return {table.keys().begin(), table.keys().end()};
}

} // namespace

// Every field of samplecard's records is compared through recdump in the sample card's round trip.
TEST(Mp4RecordingReaderTest, DecodesSignedPositionsSampleWordsAndTheFieldsRecdumpLeavesOut)
{
    SampleRecord r = record(1000);
    r.gZmg = 0; // stored as 1000 mg: no acceleration
    r.gps2 = false;
    r.pictureChannel = 2;
    r.frameSize = 4096;
    QByteArray bytes = r.bytes();
    // Longitude 0x80 0x01 0x00 is west 256; latitude 0x00 0x01 0x00 is north 256.
    bytes.replace(6, 6, QByteArray::fromHex("800100000100"));
    bool isError = false;
    const VideoFrame f = Mp4RecordingReader::decodeRecord(bytesOf(bytes), 3, isError);
    EXPECT_FALSE(isError);
    EXPECT_EQ(std::tuple(f._longitude, f._posWest, f._latitude, f._posSouth), std::tuple(-256, 1, 256, 0));
    EXPECT_DOUBLE_EQ(f.gZ, 0.0);
    EXPECT_FALSE(f._gps2);
    EXPECT_EQ(f.pictureChannel, 2);
    EXPECT_EQ(f.frameSize, 4096u);
    EXPECT_EQ(f.blockNo, 3);

    // Every G sample word decodes as the hex text of its four digits does.
    for (uint32_t raw = 0; raw <= 0xFFFF; ++raw) {
        const QString hex = QString("%1").arg(raw, 4, 16, QChar('0')).toUpper();
        ASSERT_EQ(DataUtility::gValueOfSample(uint16_t(raw)), DataUtility::hexToGValue(hex)) << raw;
    }
}

TEST(Mp4RecordingReaderTest, DecodesViolationCodes)
{
    // (code, qualifier, type, error): the qualifier only qualifies overspeed; a bad BCD digit sets the
    // error flag and leaves the type as far as it was decoded.
    const std::tuple<uint8_t, uint8_t, ViolationType, bool> cases[] = {
        {0x10, 0, ViolationType::GDetection, false},  {0x11, 0, ViolationType::VelocityGDetection, false},
        {0x12, 0, ViolationType::Accel, false},       {0x13, 0, ViolationType::Decel, false},
        {0x15, 0, ViolationType::Overspeed, false},   {0x14, 5, ViolationType::All, false},
        {0x16, 5, ViolationType::Swerve, false},      {0x99, 0, ViolationType::All, false},
        {0x00, 0, ViolationType::All, false},         {0x1A, 0, ViolationType::All, true},
        {0x14, 0xF0, ViolationType::Overspeed, true}, {0x16, 0xF0, ViolationType::Swerve, false}};
    for (const auto &[code, sub, type, isError] : cases) {
        SampleRecord r = record(1);
        r.violation = code;
        r.violationSub = sub;
        bool error = false;
        EXPECT_EQ(Mp4RecordingReader::decodeRecord(bytesOf(r.bytes()), 1, error).ex.violationType, type)
            << int(code) << " " << int(sub);
        EXPECT_EQ(error, isError) << int(code) << " " << int(sub);
    }
}

TEST(Mp4RecordingReaderTest, HeaderItemsAndDetectionFieldsAndPosition)
{
    Header h;
    h.code = 0x10;
    h.sw = 0x25;
    h.items = {item(0x00, 0x01, {0x07, 0x14}), item(0x01, 0x09, {0x01}), item(0x10, 0x03, {0x02}),
               item(0x1A, 0x03, {0x00})}; // a bad BCD group code is skipped
    const Read a = readBytes(mp4({block({record(5000)})}, h.bytes()));
    ASSERT_TRUE(a.info);
    EXPECT_EQ(a.info->_fileVersion, "0714");
    EXPECT_EQ(a.info->_terminalType, TerminalType::Separate);
    EXPECT_EQ(a.info->recMode(), CommonConst::RecMode::LongRec);
    EXPECT_EQ(a.info->detectType, 10);
    EXPECT_EQ(a.info->_playback.detectionType, DetectionType::GSensor);
    EXPECT_EQ(a.info->sw, 25);

    h.items = {item(0x10, 0x03, {0x07}), item(0x01, 0x09, {0x00})};
    const Read b = readBytes(mp4({block({record(5000)})}, h.bytes()));
    EXPECT_EQ(b.info->recMode(), CommonConst::RecMode::Nomal);
    EXPECT_EQ(b.info->_terminalType, TerminalType::AllInOne);
    EXPECT_EQ(b.info->_fileVersion, "");

    h.items = {item(0x10, 0x03, {0x00})};
    h.code = 0xAB; // bad BCD: the detection fields keep their defaults
    const Read c = readBytes(mp4({block({record(5000)})}, h.bytes()));
    EXPECT_EQ(c.info->recMode(), CommonConst::RecMode::HighQuality);
    EXPECT_EQ(c.info->detectType, 0);
    EXPECT_EQ(c.info->_playback.detectionType, DetectionType::GSensor);
    EXPECT_FALSE(c.isError);

    h = Header();
    h.code = 0x10;
    h.detectCounter = 10150; // tie between keys 100 and 200: the later one
    const Read r = readBytes(mp4({block({record(10000), record(10100), record(10200, 1)})}, h.bytes()));
    EXPECT_EQ(r.info->_playback.detectPosition, 200);
    EXPECT_TRUE(r.info->getCameraFrames(0).at(200).gDetected);
    EXPECT_EQ(r.info->_playback.detectTime, BASE_TIME.addingSeconds(1));
    EXPECT_EQ(r.info->_playback.recordTime, BASE_TIME);
    EXPECT_EQ(r.info->_playback.endTime, BASE_TIME.addingSeconds(1));

    h.code = 0x17; // a plain movie has its detection at 0
    const Read m = readBytes(mp4({block({record(10000), record(10100), record(10200)})}, h.bytes()));
    EXPECT_EQ(m.info->_playback.detectPosition, 0);
}

TEST(Mp4RecordingReaderTest, BlockSizesBlockKeyAndAHeaderOnlyFile)
{
    // 64 bytes: nothing; 128 bytes: one record (the last 64 bytes are never a record).
    const Read none = readBytes(mp4({block({record(100)}, false)}));
    ASSERT_TRUE(none.info);
    EXPECT_TRUE(none.isError);
    EXPECT_EQ(none.info->_timeSpan, 0u);

    const Read one = readBytes(mp4({block({record(100), record(136)}, false)}));
    EXPECT_EQ(keysOf(*one.info, 0), (std::vector<int>{0}));
    EXPECT_FALSE(one.isError);

    // A record with another block key ends its block; the next block is read again.
    SampleRecord stranger = record(172);
    stranger.blockKey = KEY + 1;
    const Read keyed =
        readBytes(mp4({block({record(100), record(136), stranger, record(208)}), block({record(1100)})}));
    EXPECT_EQ(keysOf(*keyed.info, 0), (std::vector<int>{0, 36, 1000}));
    EXPECT_EQ(keyed.info->_timeSpan, 1000u);

    // Only the header entry: no frame tables are built. Camera 1 keeps the frame a new recording
    // holds, and the detection time comes from the frame the lookup then files for camera 0.
    Header h;
    h.code = 0x10;
    h.detectCounter = 5000;
    const Read r = readBytes(mp4({}, h.bytes()));
    ASSERT_TRUE(r.info);
    EXPECT_TRUE(r.isError);
    EXPECT_EQ(r.info->_timeSpan, 0u);
    EXPECT_EQ(keysOf(*r.info, 1), (std::vector<int>{0}));
    EXPECT_TRUE(r.info->getCameraFrames(1).at(0).time.isDistantPast());
    EXPECT_EQ(r.info->_playback.detectPosition, 0);
    EXPECT_TRUE(r.info->_playback.detectTime.isDistantPast());
    EXPECT_TRUE(r.info->getCameraFrames(0).at(0).gDetected);
}

TEST(Mp4RecordingReaderTest, GapFillingAtTwentyEightFpsAndMoviePositionsPerBlock)
{
    const Read r = readBytes(mp4({block({record(5000), record(5100)})}));
    ASSERT_TRUE(r.info);
    EXPECT_EQ(keysOf(*r.info, 1), (std::vector<int>{0, 36, 72, 100}));
    EXPECT_EQ(keysOf(*r.info, 0), (std::vector<int>{0, 100}));
    const auto cameraOne = r.info->getCameraFrames(1);
    // The repeats take the earlier sample at their own counter value.
    EXPECT_EQ(cameraOne.at(36).time, cameraOne.at(0).time);
    EXPECT_EQ(cameraOne.at(36)._timeStamp, 5036u);
    EXPECT_EQ(cameraOne.at(72)._movieTimeStamp, 72u);
    EXPECT_TRUE(cameraOne.at(100).sameAs(r.info->getCameraFrames(0).at(100)));

    // Frames of different blocks are not bridged.
    const Read apart = readBytes(mp4({block({record(5000)}), block({record(5100)})}));
    EXPECT_EQ(keysOf(*apart.info, 1), (std::vector<int>{0, 100}));

    // Three one-second blocks; the second starts 40 ms late, as blocks do.
    const Read blocks = readBytes(mp4({block({record(10000), record(10036), record(10072)}),
                                       block({record(11040), record(11076)}), block({record(12000)})}));
    const auto table = blocks.info->getCameraFrames(1);
    EXPECT_EQ(table.at(72)._movieTimeStamp, 72u);
    EXPECT_EQ(table.at(1040)._movieTimeStamp, 1000u);
    EXPECT_EQ(table.at(1076)._movieTimeStamp, 1036u);
    EXPECT_EQ(table.at(2000)._movieTimeStamp, 2000u);
}

TEST(Mp4RecordingReaderTest, BlocksOutsideTheWindowOrWithoutFramesContributeNothing)
{
    const QByteArray file =
        mp4({block({record(1000, 0)}), block({record(2000, 1)}), block({record(3000, 2)})});
    const Read r = readBytes(file, BASE_TIME.addingSeconds(1), BASE_TIME.addingSeconds(1));
    EXPECT_EQ(keysOf(*r.info, 0), (std::vector<int>{0}));
    EXPECT_EQ(r.info->getCameraFrames(0).at(0)._timeStamp, 2000u);
    EXPECT_EQ(r.info->firstTime, BASE_TIME.addingSeconds(1));
    EXPECT_EQ(r.info->lastTime, BASE_TIME.addingSeconds(1));
    EXPECT_EQ(r.info->_timeSpan, 0u);

    const Read after = readBytes(file, BASE_TIME.addingSeconds(10), Date::distantFuture());
    EXPECT_TRUE(after.isError);
    EXPECT_TRUE(after.info->firstTime.isDistantPast());

    // A block of sound samples only, before the frames: with the widest window it must not make
    // 0x7FFFFFFF the smallest counter.
    const Read sound = readBytes(mp4({block({record(9000, 0, 0xAA), record(9036, 0, 0xAA)}),
                                      block({record(10000, 1), record(10500, 1)})}));
    ASSERT_TRUE(sound.info);
    EXPECT_FALSE(sound.isError);
    EXPECT_EQ(sound.info->_timeSpan, 500u);
    EXPECT_EQ(keysOf(*sound.info, 0), (std::vector<int>{0, 500}));
    EXPECT_EQ(sound.info->firstTime, BASE_TIME.addingSeconds(1));

    // A frame without a position takes the first one; a sound record's power-down marks the recording.
    SampleRecord lost = record(1036);
    lost.hasPosition = false;
    SampleRecord last = record(1050, 0, 0xAA);
    last.powerDown = true;
    const Read kept = readBytes(mp4({block({record(1000), lost, last})}));
    EXPECT_EQ(kept.info->getCameraFrames(0).at(36)._latitude, 1280000);
    EXPECT_TRUE(kept.info->powerDown);
}

TEST(Mp4RecordingReaderTest, TruncatedCorruptAndClipFilesNeverReadOutOfBoundsOrAsRecordings)
{
    Header h;
    const QByteArray good = mp4({block({record(1000), record(1036)})}, h.bytes());

    // Every prefix of a good file reads without a crash; most give no recording.
    for (qsizetype n = 0; n < good.size(); ++n)
        readBytes(good.left(n));

    // An entry table that points past the end of the file.
    const qsizetype table = good.indexOf("udat") + 4; // version, count, then (offset, size) pairs
    QByteArray past = good;
    past.replace(table + 16, 4, u32(0x7FFFFFF0)); // file offset of the first block
    const Read p = readBytes(past);
    ASSERT_TRUE(p.info);
    EXPECT_TRUE(p.isError);

    // A header shorter than its items need: the items present are read, the failure is flagged.
    h.items = {item(0x10, 0x03, {0x02})};
    h.announced = 5;
    const Read s = readBytes(mp4({block({record(1000)})}, h.bytes()));
    ASSERT_TRUE(s.info);
    EXPECT_TRUE(s.isError);
    EXPECT_EQ(s.info->recMode(), CommonConst::RecMode::LongRec);

    // A header record of 64 bytes or fewer is no recording.
    EXPECT_FALSE(readBytes(mp4({block({record(1000)})}, h.bytes().left(64))).info);

    // No udat box, or an empty entry table.
    EXPECT_FALSE(readBytes(box("ftyp", "isom")).info);
    QByteArray emptyTable = good;
    emptyTable.replace(table + 4, 4, u32(0));
    EXPECT_FALSE(readBytes(emptyTable).info);

    const QByteArray file = mp4({block({record(1000)})});
    // Payload bytes 0-7 of our file: 0 0 0 0, then the entry count 2.
    const QByteArray prefix = QByteArray::fromHex("0000000000000002");
    const Read other =
        readBytes(file, Date::distantPast(), Date::distantFuture(), QByteArray::fromHex("0001071"));
    EXPECT_FALSE(other.info->isCutVideo());
    // The clip archive is not understood by this reader: the file reads as no recording.
    const Read clip = readBytes(file, Date::distantPast(), Date::distantFuture(), prefix);
    EXPECT_FALSE(clip.info);
}

// The first time alone, as the order of chapters without a management record needs it: what read()
// gives as its first time with the widest window, and none wherever read() gives no recording or
// the file is a cut clip.
TEST(Mp4RecordingReaderTest, FirstTimeAndSpanAloneAreWhatTheWholeReadGives)
{
    const QByteArray clipMark = QByteArray::fromHex("0000000000000002");
    SampleRecord zero = record(0, 3);
    const struct
    {
        const char *name;
        QByteArray file;
        bool cutClip;
    } cases[] = {
        {"blocks in order", mp4({block({record(1000, 2), record(1036, 1)}), block({record(2000, 0)})}),
         false},
        {"sound only first", mp4({block({record(9000, 0, 0xAA)}), block({record(10000, 5)})}), false},
        {"counter zero first", mp4({block({zero}), block({record(10000, 7)})}), false},
        {"largest counter in the first block",
         mp4({block({record(5000, 2), record(9000, 1)}), block({record(6000, 0), record(7000, 3)})}), false},
        {"sound only between",
         mp4({block({record(1000, 1)}), block({record(99000, 0, 0xAA)}), block({record(2000, 4)})}), false},
        {"other block key",
         mp4({block({[] {
                  SampleRecord r = record(1000, 4);
                  r.blockKey = 1;
                  return r;
              }()}),
              block({record(2000, 6)})}),
         false},
        {"no kept frame", mp4({block({record(1000, 0, 0xAA)})}), false},
        {"header only", mp4({}), false},
        {"too many frames for its movie",
         HostileFiles::mp4({Header().bytes(), block(std::vector<SampleRecord>(400, record(1000)))}, 1000),
         false},
        {"short header", mp4({block({record(1000)})}, Header().bytes().left(64)), false},
        {"no udat", box("ftyp", "isom"), false},
        {"cut clip", mp4({block({record(1000)})}), true},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".MP4");
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.file);
        out.close();
        const QByteArray mark = c.cutClip ? clipMark : QByteArray::fromHex("0001071");
        bool isError = false;
        const auto whole =
            Mp4RecordingReader::read(path, Date::distantPast(), Date::distantFuture(), isError, mark);
        const std::optional<Date> first = Mp4RecordingReader::readFirstTime(path, mark);
        const auto opening = Mp4RecordingReader::readOpening(path, mark);
        EXPECT_EQ(opening.firstTime, first);
        EXPECT_EQ(opening.movieDurationMs, Mp4Reader(path).movieDurationMs());
        if (!whole || c.cutClip) {
            EXPECT_FALSE(first.has_value());
            EXPECT_FALSE(opening.timeSpan.has_value());
            continue;
        }
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(*first, whole->firstTime);
        ASSERT_TRUE(opening.timeSpan.has_value());
        EXPECT_EQ(*opening.timeSpan, whole->_timeSpan);
    }
}
