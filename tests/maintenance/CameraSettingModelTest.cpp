#include "maintenance/CameraSettingModel.h"
#include "maintenance/DecimalText.h"

#include <gtest/gtest.h>

namespace {

using Field = CameraSettingModel::TextField;

CameraSettingModel setUp()
{
    CameraSettingModel model;
    model.setupLists();
    return model;
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
    for (const auto &c : cases) {
        EXPECT_EQ(DecimalText::parse(QString::fromUtf8(c.text)), c.value) << c.text;
    }
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

TEST(CameraSettingModelTest, CommittedTextSnapsToTheSliderMarksOrGoesBack)
{
    const struct
    {
        Field field;
        const char *typed;
        const char *text;
        double slider;
    } cases[] = {
        {Field::DtlSns, "0.456", "0.46", 0.54}, {Field::DtlSns, "0.95", "0.90", 0.10},
        {Field::DtlSns, "abc", "0.50", 0.50},   {Field::SurvSns, "2e-1", "0.20", 0.80},
        {Field::SurvSns, "inf", "0.30", 0.70},  {Field::DtlCrs, "2.6", "3", 3},
        {Field::DtlCrs, "9", "5", 5},           {Field::DtlCrs, "x", "1", 1},
        {Field::DtlAngle, "7.4", "7", 7},       {Field::DtlAngle, "-7.6", "-8", -8},
        {Field::DtlAngle, "-", "0", 0},         {Field::DtlAngle, "-1e9", "-45", -45},
    };
    for (const auto &c : cases) {
        CameraSettingModel model = setUp();
        model.editText(c.field, QString::fromLatin1(c.typed));
        model.commitTextInput(c.field);
        EXPECT_EQ(model.text(c.field), c.text) << c.typed;
        const CameraSettingModel::Trio &trio = c.field == Field::DtlSns    ? model.dtlSns
                                               : c.field == Field::SurvSns ? model.survSns
                                               : c.field == Field::DtlCrs  ? model.dtlCrs
                                                                           : model.dtlAngle;
        EXPECT_NEAR(trio.slider, c.slider, 1e-9) << c.typed;
        EXPECT_EQ(DecimalText::parse(trio.text), trio.stepper) << c.typed;
    }
}

TEST(CameraSettingModelTest, WakeUpTimeIsLimitedToItsStepperAndCutToAWholeNumber)
{
    const struct
    {
        const char *typed;
        const char *text;
    } cases[] = {{"500", "120"}, {"12.9", "12"}, {"-3", "1"}, {"x", "30"}, {"", "30"}};
    for (const auto &c : cases) {
        CameraSettingModel model = setUp();
        model.editText(Field::QuikWakeUpTime, QString::fromLatin1(c.typed));
        model.commitTextInput(Field::QuikWakeUpTime);
        EXPECT_EQ(model.txtQuikWakeUpTime, c.text) << c.typed;
        EXPECT_EQ(QString::number(model.steQuikWakeUpTime), c.text) << c.typed;
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

TEST(CameraSettingModelTest, MemoryAndTimeFiguresFollowTheFilesAndTheQuality)
{
    const struct
    {
        int quality;
        double files;
        const char *memory;
        const char *time;
    } cases[] = {{1, 100, "3.52", "87"},
                 {0, 100, "3.52", "67"},
                 {2, 10, "0.35", "13"},
                 {2, 800, "28.13", "1053"},
                 {1, 5000, "28.13", "693"}};
    for (const auto &c : cases) {
        CameraSettingModel model = setUp();
        model.chooseQuality(c.quality);
        model.moveMA(c.files);
        EXPECT_EQ(model.txtMAMemory, c.memory) << c.files;
        EXPECT_EQ(model.txtMATime, c.time) << c.files;
    }
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
    model.moveMA(300);
    model.setupLists();

    EXPECT_EQ(model.cmbQuality.items.size(), 3);
    EXPECT_EQ(model.cmbPwrMode.items.size(), 2);
    EXPECT_EQ(model.cmbSurvStartDelay.items.size(), 2);
    for (Field field :
         {Field::DtlSns, Field::DtlCrs, Field::DtlAngle, Field::SurvSns, Field::QuikWakeUpTime}) {
        EXPECT_EQ(model.text(field), fresh.text(field));
    }
    EXPECT_EQ(model.cmbQuality.index, 1);
    EXPECT_EQ(model.cmbBuzzerNoCard.index, 1);
    EXPECT_FALSE(model.chkPassInit);
    EXPECT_EQ(model.dtlSns.slider, fresh.dtlSns.slider);
    EXPECT_EQ(model.matrSurvMode, 0);
    EXPECT_EQ(model.matrAdvMode, 0);
    EXPECT_EQ(model.cmbPwrMode.index, 0);
    EXPECT_FALSE(model.isQuikWakeUpEnabled());
    EXPECT_EQ(model.txtMAMemory, "3.52");
    EXPECT_EQ(model.txtMATime, "87");
}
