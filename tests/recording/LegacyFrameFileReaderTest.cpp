// The legacy frame-file reader: BCD driving data, the thumbnail and the resynchronisation on damage.
#include "recording/LegacyFrameFileReader.h"
#include "recording/RecordingRead.h"
#include "samplecard/SampleDatWriter.h"
#include "support/TempDir.h"
#include <QtEndian>

namespace {

Read readLegacy(const QByteArray &bytes,
                PictureData::PictureDataType type = PictureData::PictureDataType::All)
{
    TempDir dir;
    Read r;
    r.info = LegacyFrameFileReader::readFileOther(dir.write("L.DAT", bytes), Date::distantPast(),
                                                  Date::distantFuture(), type, nullptr, r.isError);
    return r;
}

const SampleDatWriter writer(SampleScenario::standard(), SampleDatWriter::placeholderJpegs(3));

qsizetype recordAt(const QByteArray &file, size_t i)
{
    qsizetype at = 48 + 8 * uint8_t(file[32]);
    for (size_t k = 0; k < i; ++k)
        at += 60 + qsizetype(qFromBigEndian<uint32_t>(file.constData() + at));
    return at;
}

} // namespace

// Times, positions (1/36000 degree) and speeds are compared through recdump in the DAT round trip.
TEST(LegacyFrameFileReaderTest, ReadsBcdFramesAfterTheThumbnail)
{
    const Read r = readLegacy(writer.legacyFile());
    ASSERT_FALSE(r.isError);
    VideoInfo &info = *r.info;
    const auto &frames = writer.frames();
    EXPECT_EQ(info._bootID, 0x012345);
    EXPECT_EQ(info._playback.eventFPS, "05");
    EXPECT_EQ(info._thumbnail._timeStamp, frames[0].timeStamp);
    const FrameTable all = info.getCameraFrames(0);
    ASSERT_EQ(all.size(), frames.size() - 1);
    size_t i = 1;
    for (const auto &[key, frame] : all) {
        const SampleDatFrame &f = frames[i++];
        EXPECT_EQ(key, int(f.timeStamp - frames[1].timeStamp));
        EXPECT_DOUBLE_EQ(frame.gX, f.gX / 1000.0);
        EXPECT_EQ(frame.camera, f.camera);
        EXPECT_EQ(frame._imageData.mid(6, 11), "HALVERO-QIN");
    }
    EXPECT_EQ(info._jpegHeader, all.frame(all.size() - 1)._imageData.first(16));
    EXPECT_EQ(info.getCameraFrames(2).size(), frames.size() / 2);
}

TEST(LegacyFrameFileReaderTest, BadDatesAndCodesResynchroniseSignedBcdGAndEmptyOrTruncatedFiles)
{
    const auto &frames = writer.frames();
    // (name, offset in record 3, value, record dropped)
    const std::tuple<const char *, qsizetype, char, bool> cases[] = {
        {"date digit", 28 + 5, char(0x1A), true},        {"date that cannot be", 28 + 5, char(0x13), true},
        {"violation code", 28 + 24, char(0xA0), true},   {"speed digit", 28 + 14, char(0x0F), false},
        {"longitude digit", 28 + 16, char(0xF0), false},
    };
    for (const auto &[name, offset, value, dropped] : cases) {
        SCOPED_TRACE(name);
        QByteArray file = writer.legacyFile();
        file[recordAt(file, 3) + offset] = value;
        const Read r = readLegacy(file);
        EXPECT_TRUE(r.isError);
        std::vector<uint32_t> expected;
        for (size_t i = 1; i < frames.size(); ++i)
            if (!(dropped && i == 3))
                expected.push_back(frames[i].timeStamp);
        EXPECT_EQ(stamps(*r.info), expected);
    }

    // Without a marker after the damage the walk steps on and meets no further record.
    QByteArray file = writer.legacyFile().left(recordAt(writer.legacyFile(), 4));
    file[recordAt(file, 3) + 28 + 5] = char(0x1A);
    file.append(QByteArray(300, char(0x77)));
    EXPECT_EQ(stamps(*readLegacy(file).info).size(), 2u);

    file = writer.legacyFile();
    file[recordAt(file, 1) + 28 + 10] = char(0x81);
    file[recordAt(file, 1) + 28 + 11] = char(0x25);
    EXPECT_DOUBLE_EQ(readLegacy(file).info->getCameraFrames(0).at(0).gX, -0.125);

    file = writer.legacyFile();
    file[32] = 0; // no items: header values only
    Read r = readLegacy(file);
    EXPECT_EQ(r.info->_timeSpan, 0u);
    EXPECT_EQ(r.info->_bootID, 0x012345);

    // A picture cut short ends the pass; Classify keeps no picture bytes.
    file = writer.legacyFile();
    file.chop(1);
    r = readLegacy(file, PictureData::PictureDataType::Classify);
    EXPECT_EQ(stamps(*r.info).size(), writer.frames().size() - 2);
    EXPECT_TRUE(r.info->getCameraFrames(0).at(0)._imageData.isEmpty());
}

// The short overloads read this layout; the two shortest keep the frames dated from the call on, so a
// recording made before it gives nothing.
TEST(VideoInfoTest, TheShortFromFileOverloadsReadTheLegacyLayoutTheShortestFromNowOn)
{
    TempDir dir;
    QByteArray future = writer.legacyFile();
    for (size_t i = 0; i < writer.frames().size(); ++i)
        future[recordAt(future, i) + 28 + 4] = char(0x99); // the year of each record's BCD date: 2099
    const QUrl past = QUrl::fromLocalFile(dir.write("P.DAT", writer.legacyFile()));
    const QUrl later = QUrl::fromLocalFile(dir.write("F.DAT", future));
    const VersionInfo ver = VersionInfo::fallback();
    using Reader = std::function<std::shared_ptr<VideoInfo>(const QUrl &, QStringList &)>;
    // (overload, keeps frames from now on, reports its failures)
    const std::tuple<const char *, Reader, bool, bool> overloads[] = {
        {"path and version", [&](const QUrl &url, QStringList &) { return VideoInfo::fromFile(url, ver); },
         true, false},
        {"with errors",
         [&](const QUrl &url, QStringList &errors) { return VideoInfo::fromFile(url, ver, errors); }, true,
         true},
        {"with window and picture type",
         [&](const QUrl &url, QStringList &errors) {
             return VideoInfo::fromFile(url, ver, errors, Date::distantPast(), Date::distantFuture(),
                                        PictureData::PictureDataType::Classify);
         },
         false, true},
    };
    const size_t all = writer.frames().size() - 1; // after the thumbnail
    for (const auto &[name, read, fromNow, reports] : overloads) {
        SCOPED_TRACE(name);
        QStringList errors;
        const auto inFuture = read(later, errors);
        ASSERT_TRUE(inFuture);
        EXPECT_EQ(stamps(*inFuture).size(), all);
        EXPECT_TRUE(errors.isEmpty());

        const auto before = read(past, errors);
        ASSERT_TRUE(before);
        EXPECT_EQ(before->_timeSpan == 0, fromNow) << "none of its frames kept";
        if (!fromNow)
            EXPECT_EQ(stamps(*before).size(), all);
        EXPECT_EQ(errors,
                  reports && fromNow ? QStringList{"正常な画像詳細情報ではありません。"} : QStringList{});

        errors.clear();
        EXPECT_FALSE(read(QUrl("https://example.invalid/L.DAT"), errors));
        EXPECT_EQ(errors, reports ? QStringList{"画像データがありません。"} : QStringList{});
    }
}
