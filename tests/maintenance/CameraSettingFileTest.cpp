#include "maintenance/CameraSettingFile.h"
#include "maintenance/CameraSettingModel.h"
#include "recording/SettingInfo.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using Bytes = SettingInfo::Bytes;
using Code = SettingInfo::GroupCode;
using Result = CameraSettingFile::SaveResult;

struct Item
{
    Code code;
    Bytes data;
};

SettingInfo settingsOf(const std::vector<Item> &items)
{
    SettingInfo info;
    for (const Item &item : items) {
        info.setItem(SettingInfo::createItem(item.code, item.data));
    }
    return info;
}

// The loaded dialog state, and the items its OK writes.
struct Loaded
{
    CameraSettingModel model;
    bool warning = false;
    SettingInfo written;
};

Loaded loadAndBuild(const std::vector<Item> &items)
{
    Loaded loaded;
    loaded.model.setupLists();
    loaded.warning = CameraSettingFile::load(loaded.model, settingsOf(items));
    loaded.model.applyTextValues();
    loaded.written = CameraSettingFile::build(loaded.model);
    return loaded;
}

// The data bytes of the written item with the code, empty when it is not written.
Bytes writtenData(const SettingInfo &info, Code code)
{
    const Bytes all = info.toBytes();
    for (size_t at = 0; at + 8 <= all.size(); at += 8) {
        if (all[at] == code[0] && all[at + 1] == code[1]) {
            return Bytes(all.begin() + long(at) + 2, all.begin() + long(at) + 7);
        }
    }
    return {};
}

Bytes data(std::initializer_list<uint8_t> head)
{
    Bytes bytes(head);
    bytes.resize(5, 0xFF);
    return bytes;
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

} // namespace

// The controls as "name=value" words.
QStringList shown(const CameraSettingModel &m)
{
    return QString("sns=%1/%2 crs=%3 angle=%4 quality=%5 buzz=%6,%7,%8,%9 surv=%10 pwr=%11 wake=%12/%13 "
                   "delay=%14 adv=%15 memory=%16 time=%17")
        .arg(m.dtlSns.text, QString::number(m.dtlSns.slider), m.dtlCrs.text, m.dtlAngle.text)
        .arg(m.cmbQuality.index)
        .arg(m.cmbBuzzerAction.index)
        .arg(m.cmbBuzzerOperation.index)
        .arg(m.cmbBuzzerNoCard.index)
        .arg(m.cmbBuzzerSurveillance.index)
        .arg(m.matrSurvMode.value_or(-1))
        .arg(m.cmbPwrMode.index)
        .arg(m.txtQuikWakeUpTime, m.isQuikWakeUpEnabled() ? "on" : "off")
        .arg(m.cmbSurvStartDelay.index)
        .arg(m.matrAdvMode.value_or(-1))
        .arg(m.txtMAMemory, m.txtMATime)
        .split(' ');
}

TEST(CameraSettingFileTest, LoadShowsItemsWithinTheControlsRanges)
{
    using S = SettingInfo;
    // clang-format off
    const struct
    {
        std::vector<Item> items;
        const char *shows;
        Code code;
        Bytes written; // the data of the item with that code in the file OK writes
    } cases[] = {
        {{{S::GRP_CD_GTRG_LEVEL, {0x00, 0x45}}}, "sns=0.45/0.55", S::GRP_CD_GTRG_LEVEL, data({0x00, 0x45})},
        {{{S::GRP_CD_GTRG_LEVEL, {0x00, 0x29}}}, "sns=0.29/0.71", S::GRP_CD_GTRG_LEVEL, data({0x00, 0x29})},
        {{{S::GRP_CD_GTRG_LEVEL, {0x00, 0x57}}}, "sns=0.57/0.43", S::GRP_CD_GTRG_LEVEL, data({0x00, 0x57})},
        {{{S::GRP_CD_GTRG_LEVEL, {0x00, 0x95}}}, "sns=0.50/0.5", S::GRP_CD_GTRG_LEVEL, data({0x00, 0x50})},
        {{{S::GRP_CD_GTRG_LEVEL, {0x0A, 0x45}}}, "sns=0.50/0.5", S::GRP_CD_GTRG_LEVEL, data({0x00, 0x50})},
        {{{S::GRP_CD_MOD_ANGL, {0x80, 0x00}}}, "angle=0", S::GRP_CD_MOD_ANGL, data({0x00, 0x00})},
        {{{S::GRP_CD_MOD_ANGL, {0x01, 0x05}}}, "angle=-5", S::GRP_CD_MOD_ANGL, data({0x01, 0x05})},
        {{{S::GRP_CD_MOD_ANGL, {0x01, 0x02}}}, "angle=-2", S::GRP_CD_MOD_ANGL, data({0x01, 0x02})},
        {{{S::GRP_CD_MOD_ANGL, {0x00, 0x90}}}, "angle=0", S::GRP_CD_MOD_ANGL, data({0x00, 0x00})},
        {{{S::GRP_CD_MOD_ANGL, {0x00, 0xFF}}, {S::GRP_CD_GTRG_CROSS, {0x00, 0x40}}}, "angle=0 crs=4", S::GRP_CD_MOD_ANGL, data({0x00, 0x00})},
        {{{S::GRP_CD_GTRG_CROSS, {0x00, 0x35}}}, "crs=1", S::GRP_CD_GTRG_CROSS, data({0x00, 0x10})},
        {{{S::GRP_CD_SURV_REC, {0x02}}, {S::GRP_CD_OPE_TIME, {0x00, 0x45}}}, "surv=0 pwr=1 wake=45/on", S::GRP_CD_OPE_TIME, data({0x00, 0x45})},
        {{{S::GRP_CD_SURV_REC, {0x00}}, {S::GRP_CD_OPE_TIME, {0x00, 0x45}}}, "surv=1 pwr=0 wake=45/off", S::GRP_CD_OPE_TIME, {}},
        {{{S::GRP_CD_SURV_REC, {0x07}}, {S::GRP_CD_ADV_MODE, {0x00}}}, "surv=0 adv=1", S::GRP_CD_SURV_REC, data({0x01})},
        {{{S::GRP_CD_REC_FILE, {0x09, 0x99}}}, "memory=28.13", S::GRP_CD_REC_FILE, data({0x08, 0x00})},
        {{}, "memory=3.52", S::GRP_CD_REC_FILE, data({0x01, 0x00})},
        {{{S::GRP_CD_BUZZ_ACTION, {0x02}}, {S::GRP_CD_BUZZ_SURV, {0x00}}, {S::GRP_CD_BUZZ_NOCARD, {0x03}}, {S::GRP_CD_SURV_ACC_OFF_TIME, {0x02}}}, "buzz=2,1,1,0 delay=1", S::GRP_CD_SURV_ACC_ON_TIME, data({0x02})},
        {{{S::GRP_CD_QLT_MODE, {0x02}}, {S::GRP_CD_REC_FILE, {0x02, 0x00}}}, "quality=2 time=263", S::GRP_CD_QLT_MODE, data({0x02})},
    };
    // clang-format on
    for (const auto &c : cases) {
        const Loaded loaded = loadAndBuild(c.items);
        const QStringList words = shown(loaded.model);
        for (const QString &word : QString(c.shows).split(' ')) {
            EXPECT_TRUE(words.contains(word)) << c.shows << " in " << words.join(' ').toStdString();
        }
        EXPECT_EQ(writtenData(loaded.written, c.code), c.written) << c.shows;
        EXPECT_FALSE(loaded.warning) << c.shows;
    }
}

TEST(CameraSettingFileTest, DeviceTypesBeyondTheKnownCamerasRaiseTheWarning)
{
    const struct
    {
        std::vector<Item> items;
        bool warning;
    } cases[] = {
        {{}, false},
        {{{SettingInfo::GRP_CD_DEVICETYPE, {0x00}}}, false},
        {{{SettingInfo::GRP_CD_DEVICETYPE, {0x01}}}, false},
        {{{SettingInfo::GRP_CD_DEVICETYPE, {0x02}}}, true},
        {{{SettingInfo::GRP_CD_DEVICETYPE, {0xFF}}, {SettingInfo::GRP_CD_GTRG_LEVEL, {0x00, 0x45}}}, true}};
    for (const auto &c : cases) {
        const Loaded loaded = loadAndBuild(c.items);
        EXPECT_EQ(loaded.warning, c.warning);
        EXPECT_TRUE(writtenData(loaded.written, SettingInfo::GRP_CD_DEVICETYPE).empty()) << "never written";
    }
    EXPECT_EQ(loadAndBuild(cases[4].items).model.dtlSns.text, "0.45") << "the values still load";
}

TEST(CameraSettingFileTest, SaveAppliesTheFieldBeingEditedAndWritesOnlyTheControlsItems)
{
    TempDir dir;
    CameraSettingModel model;
    model.setupLists();
    model.editText(CameraSettingModel::TextField::DtlSns, "0.456");
    model.cmbSurvStartDelay.index = 1;
    model.editText(CameraSettingModel::TextField::QuikWakeUpTime, "77");
    ASSERT_EQ(CameraSettingFile::save(model, dir.path()), Result::Saved);
    EXPECT_EQ(model.dtlSns.text, "0.46");

    SettingInfo back;
    back.Load(dir.filePath("GROUP.DAT"));
    EXPECT_EQ(back.getGTrgLevel(), 46);
    EXPECT_EQ(back.getSurvAccOffTime(), 2);
    EXPECT_EQ(back.getSurvAccnilnTime(), 2) << "both delay items carry the same value";
    EXPECT_EQ(back.getOpeTime(), -1) << "Normal Wake-Up writes no wake-up item";

    model.choosePowerMode(1);
    model.editText(CameraSettingModel::TextField::QuikWakeUpTime, "77");
    ASSERT_EQ(CameraSettingFile::save(model, dir.path() + "/"), Result::Saved);
    back.Load(dir.filePath("GROUP.DAT"));
    EXPECT_EQ(back.getOpeTime(), 77);
    EXPECT_EQ(back.getSurvAccOffTime(), 1) << "choosing the mode re-selects the first delay";

    EXPECT_EQ(CameraSettingFile::save(model, std::nullopt), Result::NoFolder);
}

TEST(CameraSettingFileTest, GoldenGroupFile)
{
    CameraSettingModel model;
    model.setupLists();
    model.chooseQuality(2);
    model.cmbBuzzerAction.index = 0;
    model.cmbBuzzerNoCard.index = 2;
    model.setDtlSns(CameraSettingModel::SENSOR_HIGH);
    model.syncDtlCrs(3);
    model.editText(CameraSettingModel::TextField::DtlAngle, "-5");
    model.choosePowerMode(1);
    model.setQuikWakeUpTime(45);
    model.setSurvSns(CameraSettingModel::SUR_SENSOR_HIGH);
    model.cmbSurvStartDelay.index = 1;
    model.matrAdvMode = 1;
    model.moveMA(250);
    model.chkPassInit = true;

    TempDir dir;
    ASSERT_EQ(CameraSettingFile::save(model, dir.path()), Result::Saved);
    QFile file(dir.filePath("GROUP.DAT"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected = hex("00 01 07 14 FF FF FF ED 01 21 FF FF FF FF FF DF 01 22 FF FF FF FF FF DC"
                              "01 55 FF FF FF FF FF AB 01 56 FF FF FF FF FF A8 01 57 FF FF FF FF FF A9"
                              "01 58 FF FF FF FF FF A6 03 01 00 FF FF FF FF 02 03 06 01 FF FF FF FF 04"
                              "03 07 02 FF FF FF FF 06 03 08 01 FF FF FF FF 0A 08 01 00 45 FF FF FF B3"
                              "08 11 00 30 FF FF FF D6 08 12 01 05 FF FF FF E1 10 03 02 FF FF FF FF 11"
                              "20 00 02 FF FF FF FF 22 20 01 00 45 FF FF FF 9B 20 02 00 20 FF FF FF FD"
                              "20 04 02 FF FF FF FF 26 20 05 02 FF FF FF FF 27 30 00 00 FF FF FF FF 30"
                              "30 01 02 50 FF FF FF 9C");
    expected.append(32768 - expected.size(), char(0xFF));
    EXPECT_EQ(file.readAll().toHex(' '), expected.toHex(' '));
}

TEST(CameraSettingFileTest, FailedSaveLeavesNoGroupFile)
{
    TempDir dir;
    CameraSettingModel model;
    model.setupLists();
    ASSERT_EQ(CameraSettingFile::save(model, dir.path()), Result::Saved);
    const QString path = dir.filePath("GROUP.DAT");
    ASSERT_TRUE(QFile::exists(path));

    // A full card: the file-size limit stops the write short, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Result result = CameraSettingFile::save(model, dir.path());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, Result::Failed);
    EXPECT_FALSE(QFile::exists(path)) << "the older GROUP.DAT goes too";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(CameraSettingFile::save(model, dir.filePath("missing")), Result::Failed);
}
