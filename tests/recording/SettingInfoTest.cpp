#include "recording/SettingInfo.h"
#include "recording/RecordingRead.h"
#include "samplecard/SampleSettingsFile.h"
#include "support/TempDir.h"
#include <QTimeZone>

namespace {

using Bytes = SettingInfo::Bytes;

QByteArray toQByteArray(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// A SETINF.DAT as the camera writes it: 24-byte header with the count at byte 8, then the items.
QByteArray setinf(const std::vector<Bytes> &items, int count = -1)
{
    QByteArray file(24, '\0');
    file[8] = char(count < 0 ? int(items.size()) : count);
    for (const Bytes &item : items)
        file += toQByteArray(item);
    return file;
}

Bytes item(SettingInfo::GroupCode code, Bytes data)
{
    return SettingInfo::createItem(code, data);
}

const Bytes newObjectBytes{0x00, 0x01, 0x07, 0x14, 0xFF, 0xFF, 0xFF, 0xED, 0x01, 0x21, 0xFF, 0xFF,
                           0xFF, 0xFF, 0xFF, 0xDF, 0x01, 0x22, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xDC};

} // namespace

TEST(SettingInfoTest, NewObjectHoldsFileInfoAndWritesSecurityItems)
{
    SettingInfo info;
    EXPECT_EQ(info.toBytes(), newObjectBytes);

    TempDir dir;
    const QString path = dir.filePath("GROUP.DAT");
    ASSERT_TRUE(info.Save(path));
    const QByteArray file = readAll(path);
    ASSERT_EQ(file.size(), 32768);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 24), newObjectBytes);
    EXPECT_EQ(file.mid(24), QByteArray(32768 - 24, char(0xFF)));

    SettingInfo back;
    back.Load(path);
    EXPECT_EQ(back.toBytes(), newObjectBytes);
    EXPECT_TRUE(back._unknownData.empty()) << "the 0xFF padding is not an item";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1) << "no temporary left";
}

TEST(SettingInfoTest, ItemsNeedEightBytesAValidCheckByteAndAKnownCode)
{
    // Event sensitivity 0.50, as the settings dialog writes it.
    EXPECT_EQ(item(SettingInfo::GRP_CD_GTRG_LEVEL, {0x00, 0x50}),
              (Bytes{0x08, 0x01, 0x00, 0x50, 0xFF, 0xFF, 0xFF, 0xA6}));

    SettingInfo info;
    const Bytes good = item(SettingInfo::GRP_CD_BUZZ_ACTION, {0x02});
    Bytes nine = good, flipped = good;
    nine.push_back(0xFF);
    flipped[7] ^= 0x01;
    // Seven bytes, nine, a bad check byte, padding (passes the check, names no item), an unknown code.
    for (const Bytes &bad :
         {Bytes(good.begin(), good.begin() + 7), nine, flipped, Bytes(8, 0xFF), item({0x7E, 0x7E}, {0x01})})
        EXPECT_FALSE(info.setItem(bad)) << bad.size();
    EXPECT_TRUE(info._buzzAction.empty());

    EXPECT_TRUE(info.setItem(good));
    EXPECT_EQ(info._buzzAction, Bytes{0x02});
    // A reader takes the row's data count, filler included.
    EXPECT_TRUE(info.setItem(item(SettingInfo::GRP_CD_PTRG_TIME, {0x03})));
    EXPECT_EQ(info._pTrgTime, (Bytes{0x03, 0xFF}));
}

TEST(SettingInfoTest, EveryItemSurvivesSaveAndReloadButMoreThanTheFileHoldsAreNotSaved)
{
    // The items the settings dialog writes are in the camera settings file's golden file; these are the rest.
    SettingInfo info;
    info.setDateTime(QDateTime(QDate(2024, 3, 7), QTime(9, 5), Qt::LocalTime));
    info._security1 = {0x01, 0x02, 0x03, 0x04, 0x05};
    info._security2 = {0x06, 0x07, 0x08, 0x09, 0x10};
    info.resetWifiPass();
    info._resetWifiPass = {0x01};
    info._resetAllSetting = {0x01};
    info.setGuidanceVolume(7);
    info.setGGdcLevel(120);
    info.setGGdcTime(5);
    info.setGTrgTime(3);
    info.setPTrgLevel(4);
    info.setPTrgTime(6);
    info.setRecSound(1);
    info.setSurvGSensorY(35);
    info._unknownData.push_back(item({0x44, 0x01}, {0x09, 0x08, 0x07, 0x06, 0x05}));

    TempDir dir;
    const QString path = dir.filePath("GROUP.DAT");
    ASSERT_TRUE(info.Save(path));
    EXPECT_EQ(readAll(path).size(), 32768);

    SettingInfo back;
    back.Load(path);
    EXPECT_EQ(back.toBytes(), info.toBytes());
    EXPECT_EQ(back.toBytes().size(), size_t(8 * 19)) << "the file information, 17 items and the unknown one";
    EXPECT_EQ(back._datetime, (Bytes{0x24, 0x03, 0x07, 0x09, 0x05}));
    EXPECT_EQ(back._pTrgTime, (Bytes{0x06, 0xFF})) << "the one setter that fills one of two bytes";

    // More items than the file holds: not saved, and the older file goes too (a full card and a removed
    // card are in the camera settings file's tests).
    SettingInfo crowded;
    for (int k = 0; k < 4096; ++k)
        crowded._unknownData.push_back(item({uint8_t(0x40 + k / 256), uint8_t(k % 256)}, {0x01}));
    EXPECT_FALSE(crowded.Save(path));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SettingInfoTest, AccessorsReadAndWriteTheirEncodingsAndCheckRanges)
{
    const std::tuple<int64_t, int, Bytes> bcd[] = {
        {0, 2, {0x00, 0x00}}, {99, 1, {0x99}}, {100, 1, {0x00}}, {12345, 2, {0x23, 0x45}}, {7, 0, {}},
    };
    for (const auto &[value, count, bytes] : bcd)
        EXPECT_EQ(SettingInfo::toBcd(value, count), bytes) << value;
    EXPECT_EQ(SettingInfo::toHexString(Bytes{0x0A, 0xFF, 0x12}, 2), QString("0AFF"));

    // Absent, unreadable and short fields read as -1 (the angle as -2). The values the settings dialog
    // shows and writes are in the camera settings file's tests.
    const auto with = [](Bytes SettingInfo::*field, Bytes raw) {
        SettingInfo info;
        info.*field = raw;
        return info;
    };
    EXPECT_EQ(with(&SettingInfo::_buzzAction, {}).getBuzzAction(), -1);
    EXPECT_EQ(with(&SettingInfo::_buzzAction, {0x15}).getBuzzAction(), 21) << "a byte";
    EXPECT_EQ(with(&SettingInfo::_buzzAction, {0xFF}).getBuzzAction(), 255);
    EXPECT_EQ(with(&SettingInfo::_guidanceVolume, {0x15}).getGuidanceVolume(), 15) << "BCD digits";
    EXPECT_EQ(with(&SettingInfo::_guidanceVolume, {0xFF}).getGuidanceVolume(), -1);
    EXPECT_EQ(with(&SettingInfo::_gTrgLevel, {0x00}).getGTrgLevel(), -1);
    EXPECT_EQ(with(&SettingInfo::_deviceType, {0x02}).getDeviceType(), 2);
    EXPECT_EQ(with(&SettingInfo::_gTrgCross, {0xFF, 0xFF}).getGTrgCross(), -1);
    int32_t a = 0, b = 0, c = 0;
    for (const Bytes &angle : {Bytes{}, Bytes{0x02, 0x05}}) {
        with(&SettingInfo::_modAngle, angle).getModAngle(a, b);
        EXPECT_EQ(std::pair(a, b), std::pair(-1, -2)) << angle.size();
    }
    with(&SettingInfo::_survRec, {0x03}).getSurvRec(a, b, c);
    EXPECT_EQ(std::tuple(a, b, c), std::tuple(-1, -1, -1));
    with(&SettingInfo::_advMode, {0x05}).getAdvMode(a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(-1, -1));

    // A crossing step outside the list is written as 1; an invalid instant changes nothing.
    SettingInfo info;
    info.setBuzzAction(12);
    info.setGTrgCross(6);
    info.setModAngle(true, 9);
    info.setSurvRec(true, false, 7);
    info.setDateTime(QDateTime());
    EXPECT_EQ(info._buzzAction, Bytes{0x12});
    EXPECT_EQ(info._gTrgCross, (Bytes{0x00, 0x10}));
    EXPECT_EQ(info._modAngle, (Bytes{0x80, 0x00}));
    EXPECT_EQ(info._survRec, Bytes{0x00});
    EXPECT_TRUE(info._datetime.empty());
    info.setDateTimeNone();
    EXPECT_EQ(info.getItem(SettingInfo::DataType::DateTime),
              (Bytes{0x01, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

    // (value, low, high, inclusive, in range)
    const std::tuple<double, double, double, bool, bool> ranges[] = {
        {5.0, 1.0, 10.0, false, true},  {1.0, 1.0, 10.0, false, false}, {10.0, 1.0, 10.0, true, true},
        {11.0, 1.0, 10.0, true, false}, {3.0, 3.0, 3.0, true, true},    {5.0, 10.0, 1.0, true, false},
        {3.0, 0.1, 3.0, false, false},  {-0.1, 0.1, 3.0, true, false},
    };
    // The decimal overload gives the same answers for the same numbers.
    for (const auto &[v, lo, hi, inclusive, in] : ranges) {
        EXPECT_EQ(SettingInfo::checkRange(v, lo, hi, inclusive), in) << v << " " << lo << " " << hi;
        EXPECT_EQ(SettingInfo::checkRange(*Decimal::fromDouble(v), *Decimal::fromDouble(lo),
                                          *Decimal::fromDouble(hi), inclusive),
                  in)
            << v << " " << lo << " " << hi;
    }
    EXPECT_FALSE(SettingInfo::checkRange(int64_t(1), 1, 10, false));
}

// At the range ends decimals are exact: a digit past what a double holds still puts the target inside
// or outside, and equal values written differently are the same end.
TEST(SettingInfoTest, DecimalRangeEndsAreExact)
{
    // (target, low, high, isPermission, in range)
    const std::tuple<const char *, const char *, const char *, bool, bool> cases[] = {
        {"0.10", "0.1", "0.90", false, false},
        {"0.10", "0.1", "0.90", true, true},
        {"0.9", "0.10", "0.900", true, true},
        {"0.0999999999999999999999", "0.1", "0.9", true, false},
        {"0.1000000000000000000001", "0.1", "0.9", false, true},
        {"0.8999999999999999999999", "0.1", "0.9", false, true},
        {"0.9000000000000000000001", "0.1", "0.9", true, false},
        {"0.3", "0.3", "0.3", true, true},
        {"0.3", "0.3", "0.3", false, false},
        {"-0", "0", "1", true, true},
        {"-0.45", "-0.5", "-0.4", false, true},
        {"-0.5", "-0.5", "-0.4", false, false},
        {"-0.51", "-0.5", "-0.4", true, false},
        {"5e-1", "0.5", "1", true, true},
        {"0.5", "1", "0.1", true, false},
    };
    for (const auto &[v, lo, hi, permission, in] : cases) {
        EXPECT_EQ(SettingInfo::checkRange(*Decimal::fromText(QString::fromLatin1(v)),
                                          *Decimal::fromText(QString::fromLatin1(lo)),
                                          *Decimal::fromText(QString::fromLatin1(hi)), permission),
                  in)
            << v << " " << lo << " " << hi << " " << permission;
    }
    // Ten hundredths are the end 0.10 exactly, as the dialog reads a stored level.
    EXPECT_TRUE(SettingInfo::checkRange(Decimal(10, -2), *Decimal::fromDouble(0.10), Decimal(9, -1), true));
    EXPECT_FALSE(SettingInfo::checkRange(Decimal(9, -2), *Decimal::fromDouble(0.10), Decimal(9, -1), true));
}

TEST(SettingInfoTest, SetinfReadsItsCountedItemsOnlyAndTruncatedFilesTheirWholeItems)
{
    TempDir dir;
    SettingInfo info;

    info.Load_SETINF(dir.write("zero.DAT", setinf({item(SettingInfo::GRP_CD_FILE_INFO, {0x07, 0x14})}, 0)));
    EXPECT_TRUE(info.getItem(SettingInfo::DataType::FileInfo).empty());

    Bytes bad = item(SettingInfo::GRP_CD_QLT_MODE, {0x01});
    bad[7] ^= 0x80;
    const QString path = dir.write(
        "SETINF.DAT",
        setinf({item(SettingInfo::GRP_CD_DEVICETYPE, {0x01}), item(SettingInfo::GRP_CD_BUZZ_ACTION, {0x01}),
                bad, item(SettingInfo::GRP_CD_BUZZ_ACTION, {0x02}), item({0x55, 0x01}, {0x11, 0x22}),
                item({0x55, 0x01}, {0x33, 0x44}), Bytes(8, 0xFF)}) +
            toQByteArray(item(SettingInfo::GRP_CD_REC_SOUND, {0x01})) /* after item N */);
    info.Load_SETINF(path);
    EXPECT_EQ(info.getDeviceType(), 1);
    EXPECT_EQ(info.getBuzzAction(), 2) << "the later of two equal codes wins";
    EXPECT_TRUE(info._qualityMode.empty()) << "bad check byte";
    EXPECT_TRUE(info._recSound.empty()) << "bytes after the counted items are not read";
    EXPECT_TRUE(info._fileInfo.empty());
    ASSERT_EQ(info._unknownData.size(), 1u) << "one entry per unknown code, the later one";
    EXPECT_EQ(info._unknownData[0], item({0x55, 0x01}, {0x33, 0x44}));
    // The device type is read but never written; the unknown item is written back.
    const Bytes bytes = info.toBytes();
    EXPECT_EQ(bytes.size(), size_t(8 * 4));
    EXPECT_EQ(Bytes(bytes.end() - 8, bytes.end()), info._unknownData[0]);

    // A later load empties everything but a device type the new file lacks.
    info.Load_SETINF(dir.write("other.DAT", setinf({item(SettingInfo::GRP_CD_ADV_MODE, {0x01})})));
    EXPECT_EQ(info.getDeviceType(), 1);
    EXPECT_EQ(info.getBuzzAction(), -1);
    EXPECT_TRUE(info._unknownData.empty());
    info.Load_SETINF(dir.filePath("missing.DAT"));
    EXPECT_EQ(info.toBytes().size(), size_t(16)) << "only the two security items remain";

    // Count says 3, the file holds two and a half items.
    QByteArray file =
        setinf({item(SettingInfo::GRP_CD_BUZZ_ACTION, {0x01}), item(SettingInfo::GRP_CD_QLT_MODE, {0x02}),
                item(SettingInfo::GRP_CD_REC_SOUND, {0x01})});
    file.chop(4);
    info.Load_SETINF(dir.write("short.DAT", file));
    EXPECT_EQ(info.getBuzzAction(), 1);
    EXPECT_EQ(info.getQualityMode(), 2);
    EXPECT_EQ(info.getRecSound(), -1);

    for (int size : {0, 5, 8, 9, 23}) {
        info.Load_SETINF(dir.write(QString("tiny%1.DAT").arg(size), QByteArray(size, char(0x07))));
        EXPECT_EQ(info.getBuzzAction(), -1) << size;
    }

    // A GROUP.DAT with a partial last item.
    QByteArray group = toQByteArray(item(SettingInfo::GRP_CD_BUZZ_SURV, {0x02})) +
                       toQByteArray(item(SettingInfo::GRP_CD_OPE_TIME, {0x00, 0x30})).left(7);
    info.Load(dir.write("GROUP.DAT", group));
    EXPECT_EQ(info._buzzSurv, Bytes{0x02});
    EXPECT_TRUE(info._opeTime.empty());
}

TEST(SettingInfoTest, MargeFillsAbsentItemsButNeverFileInfoOrPasswords)
{
    SettingInfo loaded;
    loaded._fileInfo = {0x09, 0x09};
    loaded.setBuzzAction(2);
    loaded.setQualityMode(1);
    loaded.resetWifiPass();
    loaded._wifiPass1 = {1, 2, 3, 4, 5};
    loaded._deviceType = {0x01};
    loaded._unknownData.push_back(item({0x60, 0x01}, {0x01}));

    SettingInfo fresh;
    fresh.setQualityMode(0);
    fresh.marge(loaded);
    EXPECT_EQ(fresh._fileInfo, (Bytes{0x07, 0x14}));
    EXPECT_TRUE(fresh._wifiPass1.empty());
    EXPECT_TRUE(fresh._deviceType.empty());
    EXPECT_EQ(fresh.getBuzzAction(), 2);
    EXPECT_EQ(fresh.getQualityMode(), 0) << "a present item is kept";
    EXPECT_EQ(fresh._unknownData, loaded._unknownData);
}

TEST(SettingInfoTest, ReadsTheSampleCardsSettingsFile)
{
    const SampleScenario scenario = SampleScenario::standard();
    TempDir dir;
    const QString path = dir.filePath("MOVE/SETINF.DAT");
    QString error;
    ASSERT_TRUE(SampleSettingsFile::write(scenario, path, &error)) << error.toStdString();

    SettingInfo info;
    info.Load_SETINF(path);
    EXPECT_EQ(info._fileInfo,
              (Bytes{uint8_t(scenario.fileVersion >> 8), uint8_t(scenario.fileVersion & 0xFF)}));
    EXPECT_EQ(info.getDeviceType(), scenario.terminalSeparate ? 1 : 0);
    ASSERT_EQ(info._unknownData.size(), 1u);
    EXPECT_EQ(info._unknownData[0][0], SampleSettingsFile::UNKNOWN_CODE[0]);
}
