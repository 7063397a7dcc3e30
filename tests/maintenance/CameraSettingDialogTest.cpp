#include "maintenance/CameraSettingDialog.h"
#include "MaintenanceFakes.h"
#include "maintenance/ScaledSlider.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

SettingInfo settingsWith(SettingInfo::GroupCode code, SettingInfo::Bytes data)
{
    SettingInfo info;
    info.setItem(SettingInfo::createItem(code, data));
    return info;
}

} // namespace

TEST(CameraSettingDialogTest, SlidersHoldScaledIntegersTurnedRoundForSensitivities)
{
    FakePrompter prompter;
    CameraSettingDialog dialog(prompter);
    dialog.setSettingInfo(settingsWith(SettingInfo::GRP_CD_GTRG_LEVEL, {0x00, 0x45}));
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
    dialog.setSettingInfo(settingsWith(SettingInfo::GRP_CD_DEVICETYPE, {0xFF}));
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
