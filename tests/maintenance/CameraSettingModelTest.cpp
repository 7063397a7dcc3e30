// The camera settings dialog without widgets, the GROUP.DAT file it loads from and saves to, and the dialog.
#include "maintenance/CameraSettingModel.h"
#include "FakePrompts.h"
#include "maintenance/CameraSettingDialog.h"
#include "maintenance/CameraSettingFile.h"
#include "maintenance/DecimalText.h"
#include "maintenance/ScaledSlider.h"
#include "recording/SettingInfo.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using Field = CameraSettingModel::TextField;

CameraSettingModel setUp()
{
    CameraSettingModel model;
    model.setupLists();
    return model;
}

using Bytes = SettingInfo::Bytes;
using Code = SettingInfo::GroupCode;
using Result = CameraSettingFile::SaveResult;

using Item = std::pair<Code, Bytes>;

SettingInfo settingsOf(const std::vector<Item> &items)
{
    SettingInfo info;
    for (const auto &[code, data] : items)
        info.setItem(SettingInfo::createItem(code, data));
    return info;
}

// The data bytes of the written item with the code, empty when it is not written.
Bytes writtenData(const SettingInfo &info, Code code)
{
    const Bytes all = info.toBytes();
    for (size_t at = 0; at + 8 <= all.size(); at += 8)
        if (all[at] == code[0] && all[at + 1] == code[1])
            return Bytes(all.begin() + long(at) + 2, all.begin() + long(at) + 7);
    return {};
}

Bytes data(std::initializer_list<uint8_t> head)
{
    Bytes bytes(head);
    bytes.resize(5, 0xFF);
    return bytes;
}

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

} // namespace

TEST(DecimalTextTest, TakesDecimalNumbersOnly)
{
    const struct
    {
        const char *text;
        std::optional<double> value;
    } cases[] = {
        {"1", 1.0},        {"-1.5", -1.5},          {"+.5", 0.5},          {"2.", 2.0},
        {"1e3", 1000.0},   {"1E-2", 0.01},          {"nan", std::nullopt}, {"inf", std::nullopt},
        {"-Infinity", {}}, {"0x10", std::nullopt},  {"1p3", std::nullopt}, {" 1", std::nullopt},
        {"1 ", {}},        {"1,5", std::nullopt},   {"", std::nullopt},    {"-", std::nullopt},
        {"1e", {}},        {"1e999", std::nullopt}, {".", std::nullopt},   {"１", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecimalText::parse(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_EQ(DecimalText::hundredths(0.125), "0.13") << "halves away from zero";
    EXPECT_EQ(DecimalText::hundredths(0.57), "0.57");
}

TEST(CameraSettingModelTest, AngleKeepsPartialNumbersWhileTypingAndRevertsOthers)
{
    CameraSettingModel model = setUp();
    model.syncDtlAngle(7);
    const struct
    {
        const char *typed;
        bool stays;
    } cases[] = {{"-", true},   {"1.", true},   {"", true},     {"-1e", true},   {"+", true}, {"12", true},
                 {"1a", false}, {"nan", false}, {"0x1", false}, {"1.2.", false}, {"e", false}};
    for (const auto &c : cases) {
        EXPECT_EQ(model.editText(Field::DtlAngle, QString::fromLatin1(c.typed)), c.stays) << c.typed;
        EXPECT_EQ(model.dtlAngle.text, c.stays ? QString::fromLatin1(c.typed) : QStringLiteral("7"))
            << c.typed;
    }
    // Only the angle is checked while typing.
    EXPECT_TRUE(model.editText(Field::DtlSns, "abc"));
    EXPECT_EQ(model.dtlSns.text, "abc");
}

// The wake-up time has no slider: it is limited to its stepper and cut to a whole number.
TEST(CameraSettingModelTest, CommittedTextSnapsToTheSliderMarksOrGoesBack)
{
    const struct
    {
        Field field;
        const char *typed, *text;
        double slider;
    } cases[] = {
        // clang-format off
        {Field::DtlSns, "0.456", "0.46", 0.54}, {Field::DtlSns, "0.95", "0.90", 0.10},
        {Field::DtlSns, "x", "0.50", 0.50}, {Field::SurvSns, "2e-1", "0.20", 0.80},
        {Field::SurvSns, "inf", "0.30", 0.70}, {Field::DtlCrs, "2.6", "3", 3}, {Field::DtlCrs, "9", "5", 5},
        {Field::DtlCrs, "x", "1", 1}, {Field::DtlAngle, "7.4", "7", 7}, {Field::DtlAngle, "-7.6", "-8", -8},
        {Field::DtlAngle, "-", "0", 0}, {Field::DtlAngle, "-1e9", "-45", -45},
        {Field::QuikWakeUpTime, "500", "120", 120}, {Field::QuikWakeUpTime, "12.9", "12", 12},
        {Field::QuikWakeUpTime, "-3", "1", 1}, {Field::QuikWakeUpTime, "x", "30", 30},
        {Field::QuikWakeUpTime, "", "30", 30},
        // clang-format on
    };
    for (const auto &c : cases) {
        CameraSettingModel model = setUp();
        model.editText(c.field, QString::fromLatin1(c.typed));
        model.commitTextInput(c.field);
        EXPECT_EQ(model.text(c.field), c.text) << c.typed;
        if (c.field == Field::QuikWakeUpTime) {
            EXPECT_EQ(model.steQuikWakeUpTime, c.slider) << c.typed;
            continue;
        }
        const CameraSettingModel::Trio &trio = c.field == Field::DtlSns    ? model.dtlSns
                                               : c.field == Field::SurvSns ? model.survSns
                                               : c.field == Field::DtlCrs  ? model.dtlCrs
                                                                           : model.dtlAngle;
        EXPECT_NEAR(trio.slider, c.slider, 1e-9) << c.typed;
        EXPECT_EQ(DecimalText::parse(trio.text), trio.stepper) << c.typed;
    }
}

TEST(CameraSettingModelTest, PowerModeSwitchesTheWakeUpControlsAndReselectsTheFirstDelay)
{
    CameraSettingModel model = setUp();
    EXPECT_FALSE(model.isQuikWakeUpEnabled());
    model.cmbSurvStartDelay.index = 1;
    model.choosePowerMode(1);
    EXPECT_TRUE(model.isQuikWakeUpEnabled());
    EXPECT_EQ(model.cmbSurvStartDelay.index, 0);
    EXPECT_EQ(model.cmbSurvStartDelay.items, QStringList({"1", "2"}));
    model.stepQuikWakeUpTime(3);
    model.cmbSurvStartDelay.index = 1;
    model.choosePowerMode(0);
    EXPECT_FALSE(model.isQuikWakeUpEnabled());
    EXPECT_EQ(model.cmbSurvStartDelay.index, 0);
    EXPECT_EQ(model.txtQuikWakeUpTime, "33") << "the wake-up time does not change";
}

TEST(CameraSettingModelTest, SettingUpTwiceAddsNoItemsAndResetsEveryControl)
{
    CameraSettingModel model = setUp();
    const CameraSettingModel fresh = model;
    model.cmbQuality.index = 2;
    model.cmbBuzzerNoCard.index = 0;
    model.chkPassInit = true;
    model.syncDtlSns(0.2);
    model.stepDtlCrs(2);
    model.stepDtlAngle(-4);
    model.matrSurvMode = 1;
    model.matrAdvMode = 1;
    model.stepSurvSns(5);
    model.choosePowerMode(1);
    model.stepQuikWakeUpTime(-2);
    model.moveMA(5000);
    EXPECT_EQ(model.txtMAMemory, "28.13") << "the slider stops at the card's 800 files";
    model.setupLists();

    for (const auto list : {&CameraSettingModel::cmbQuality, &CameraSettingModel::cmbPwrMode,
                            &CameraSettingModel::cmbSurvStartDelay, &CameraSettingModel::cmbBuzzerAction})
        EXPECT_EQ((model.*list).items, (fresh.*list).items);
    EXPECT_EQ(shown(model), shown(fresh));
    EXPECT_EQ(model.text(Field::SurvSns), fresh.text(Field::SurvSns));
    EXPECT_FALSE(model.chkPassInit);
}

TEST(CameraSettingFileTest, LoadShowsItemsWithinTheControlsRangesAndWarnsOfUnknownCameras)
{
    using S = SettingInfo;
    // clang-format off
    const struct
    {
        std::vector<Item> items;
        const char *shows;
        Code code;
        Bytes written; // the data of the item with that code in the file OK writes
        bool warning = false;
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
        {{}, "memory=3.52 time=87", S::GRP_CD_REC_FILE, data({0x01, 0x00})},
        {{{S::GRP_CD_BUZZ_ACTION, {0x02}}, {S::GRP_CD_BUZZ_SURV, {0x00}}, {S::GRP_CD_BUZZ_NOCARD, {0x03}}, {S::GRP_CD_SURV_ACC_OFF_TIME, {0x02}}}, "buzz=2,1,1,0 delay=1", S::GRP_CD_SURV_ACC_ON_TIME, data({0x02})},
        {{{S::GRP_CD_QLT_MODE, {0x02}}, {S::GRP_CD_REC_FILE, {0x02, 0x00}}}, "quality=2 time=263", S::GRP_CD_QLT_MODE, data({0x02})},
        {{{S::GRP_CD_QLT_MODE, {0x00}}}, "quality=0 time=67", S::GRP_CD_QLT_MODE, data({0x00})},
        // A device type beyond the known cameras warns, still loads the values and is never written.
        {{{S::GRP_CD_DEVICETYPE, {0x01}}}, "sns=0.50/0.5", S::GRP_CD_DEVICETYPE, {}, false},
        {{{S::GRP_CD_DEVICETYPE, {0x02}}}, "sns=0.50/0.5", S::GRP_CD_DEVICETYPE, {}, true},
        {{{S::GRP_CD_DEVICETYPE, {0xFF}}, {S::GRP_CD_GTRG_LEVEL, {0x00, 0x45}}}, "sns=0.45/0.55", S::GRP_CD_DEVICETYPE, {}, true},
    };
    // clang-format on
    for (const auto &c : cases) {
        // Loaded as the dialog opens, then the items its OK writes.
        CameraSettingModel model = setUp();
        const bool warning = CameraSettingFile::load(model, settingsOf(c.items));
        model.applyTextValues();
        const QStringList words = shown(model);
        for (const QString &word : QString(c.shows).split(' '))
            EXPECT_TRUE(words.contains(word)) << c.shows << " in " << words.join(' ').toStdString();
        EXPECT_EQ(writtenData(CameraSettingFile::build(model), c.code), c.written) << c.shows;
        EXPECT_EQ(warning, c.warning) << c.shows;
    }
}

// Which items are written, and how, is the golden file's and the load table's part.
TEST(CameraSettingFileTest, SaveAppliesTheFieldBeingEdited)
{
    TempDir dir;
    CameraSettingModel model = setUp();
    model.editText(Field::DtlSns, "0.456");
    ASSERT_EQ(CameraSettingFile::save(model, dir.path() + "/"), Result::Saved);
    EXPECT_EQ(model.dtlSns.text, "0.46");
    SettingInfo back;
    back.Load(dir.filePath("GROUP.DAT"));
    EXPECT_EQ(back.getGTrgLevel(), 46);
    EXPECT_EQ(CameraSettingFile::save(model, std::nullopt), Result::NoFolder);
}

TEST(CameraSettingFileTest, GoldenGroupFile)
{
    CameraSettingModel model = setUp();
    model.chooseQuality(2);
    model.cmbBuzzerAction.index = 0;
    model.cmbBuzzerNoCard.index = 2;
    model.setDtlSns(CameraSettingModel::SENSOR_HIGH);
    model.syncDtlCrs(3);
    model.editText(Field::DtlAngle, "-5");
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
    QByteArray expected = QByteArray::fromHex( // skips the blanks
        "00 01 07 14 FF FF FF ED 01 21 FF FF FF FF FF DF 01 22 FF FF FF FF FF DC"
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
    CameraSettingModel model = setUp();
    ASSERT_EQ(CameraSettingFile::save(model, dir.path()), Result::Saved);
    const QString path = dir.filePath("GROUP.DAT");
    ASSERT_TRUE(QFile::exists(path));

    // A full card: the file-size limit stops the write short, as a full disk does.
    Result result = Result::Saved;
    {
        const FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        result = CameraSettingFile::save(model, dir.path());
    }

    EXPECT_EQ(result, Result::Failed);
    EXPECT_FALSE(QFile::exists(path)) << "the older GROUP.DAT goes too";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(CameraSettingFile::save(model, dir.filePath("missing")), Result::Failed);
}

TEST(CameraSettingDialogTest, SlidersHoldScaledIntegersTurnedRoundForSensitivities)
{
    FakePrompter prompter;
    CameraSettingDialog dialog(prompter);
    dialog.setSettingInfo(settingsOf({{SettingInfo::GRP_CD_GTRG_LEVEL, {0x00, 0x45}}}));
    dialog.setupDialog();
    auto *slider = dialog.findChild<ScaledSlider *>("sliDtlSns");
    EXPECT_EQ(slider->value(), 55);
    EXPECT_EQ(dialog.findChild<QLineEdit *>("txtDtlSns")->text(), "0.45");

    slider->setValue(70); // as a drag does
    EXPECT_EQ(dialog.findChild<QLineEdit *>("txtDtlSns")->text(), "0.30");
    dialog.findChild<QPushButton *>("btnDtlSnsHigh")->click();
    EXPECT_EQ(slider->value(), 55);
    EXPECT_EQ(dialog.findChild<QLineEdit *>("txtDtlSns")->text(), "0.45");
    dialog.findChild<QPushButton *>("btnSurvSnsHigh")->click();
    EXPECT_EQ(dialog.findChild<ScaledSlider *>("sliSurvSns")->value(), 80);
    EXPECT_EQ(dialog.findChild<QLineEdit *>("txtSurvSns")->text(), "0.20");

    auto *wifi = dialog.findChild<QCheckBox *>("chkPassInit");
    EXPECT_FALSE(wifi->isEnabled()) << "the factory password is not known";
    EXPECT_FALSE(wifi->toolTip().isEmpty());
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(CameraSettingDialogTest, OkAsksThenSavesOrWarnsAndStaysOpen)
{
    TempDir dir;
    FakePrompter prompter;
    CameraSettingDialog dialog(prompter);
    dialog.setSettingInfo(settingsOf({{SettingInfo::GRP_CD_DEVICETYPE, {0xFF}}}));
    dialog.setupDialog();
    EXPECT_EQ(prompter.shown, QStringList{"warn: Unable to read the setup file."});

    prompter.shown.clear();
    dialog.btnOkClick();
    EXPECT_EQ(prompter.shown.last(), "warn: Unable to overwrite the setup file.") << "no card folder";

    dialog.setDefaultDirPath(dir.path());
    prompter.confirmAnswer = false;
    dialog.btnOkClick();
    EXPECT_FALSE(QFile::exists(dir.filePath("GROUP.DAT")));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    prompter.confirmAnswer = true;
    dialog.btnOkClick();
    EXPECT_TRUE(QFile::exists(dir.filePath("GROUP.DAT")));
    EXPECT_TRUE(prompter.shown.last().startsWith("inform: The camera settings have been saved."));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// A card folder that cannot take the file: the warning keeps its text and names the file with the reason.
TEST(CameraSettingDialogTest, FailedSaveSaysWhichFileAndWhy)
{
    TempDir dir;
    const QString card = dir.write("card", "a file where the card's folder should be");
    FakePrompter prompter;
    CameraSettingDialog dialog(prompter);
    dialog.setSettingInfo(settingsOf({}));
    dialog.setupDialog();
    dialog.setDefaultDirPath(card);
    prompter.shown.clear();
    dialog.btnOkClick();
    EXPECT_EQ(prompter.shown.last(), "warn: Unable to overwrite the setup file.");
    const QString cause = prompter.causes.last();
    EXPECT_TRUE(cause.startsWith(card + "/GROUP.DAT: ") && cause.size() > card.size() + 12)
        << cause.toStdString();
}
