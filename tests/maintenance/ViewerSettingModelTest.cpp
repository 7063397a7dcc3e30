#include "maintenance/ViewerSettingModel.h"
#include "FakePrompts.h"
#include "maintenance/ViewerSettingDialog.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

const char *const FLAG = UserDefaultUtil::KEY_VIEWER_SETTING_FLG;

struct Fixture
{
    TempDir dir;
    UserDefaultUtil settings{dir.filePath("settings.conf")};
    FakeRestarter restarter;
    ViewerSettingModel model{settings, &restarter};

    Fixture()
    {
        settings.load();
        settings.setFlag(FLAG, true); // set by the opener
        model.load();
    }
};

} // namespace

TEST(ViewerSettingModelTest, OnlyAChangeFromTheSettingsInUseAsksToRestart)
{
    const struct
    {
        const char *name;
        std::function<void(ViewerSettingModel &)> change;
        bool asks;
    } cases[] = {
        {"nothing", [](ViewerSettingModel &) {}, false},
        {"unit", [](ViewerSettingModel &m) { m.speedKmh = false; }, true},
        {"language", [](ViewerSettingModel &m) { m.language = 1; }, true},
        {"date format", [](ViewerSettingModel &m) { m.dateFormat = 3; }, true},
        {"time zone", [](ViewerSettingModel &m) { m.timeZone = 0; }, true},
        {"summer time", [](ViewerSettingModel &m) { m.summerTime = true; }, true},
        {"no selection", [](ViewerSettingModel &m) { m.language = -1, m.dateFormat = 9, m.timeZone = 8; },
         false},
    };
    for (const auto &c : cases) {
        Fixture f;
        c.change(f.model);
        EXPECT_EQ(f.model.store(), c.asks) << c.name;
        EXPECT_EQ(f.settings.flag(FLAG), c.asks)
            << c.name << ": the flag stays until the question is answered";
        EXPECT_TRUE(f.settings.contains(UserDefaultUtil::KEY_SPEED_METER)) << c.name << ": stored either way";
        ViewerSettingModel reopened(f.settings, nullptr);
        reopened.load();
        EXPECT_EQ(reopened.speedKmh, f.model.speedKmh) << c.name;
        EXPECT_EQ(reopened.dateFormat,
                  f.model.dateFormat < 0 || f.model.dateFormat > 3 ? 1 : f.model.dateFormat)
            << c.name;
        EXPECT_EQ(f.restarter.terminations, 0) << c.name;
    }
}

TEST(ViewerSettingModelTest, NotNowKeepsTheUnitInUseAndKeepsAsking)
{
    Fixture f;
    f.model.speedKmh = false;
    f.model.language = 1;
    ASSERT_TRUE(f.model.store());
    EXPECT_EQ(f.settings.value(UserDefaultUtil::KEY_LANGUAGE).toInt(), 1)
        << "French is stored as 1 and its code";
    EXPECT_EQ(f.settings.value(UserDefaultUtil::KEY_APPLE_LANGUAGES).toStringList(), QStringList{"fr"});
    f.model.answerRestart(false);
    EXPECT_FALSE(f.settings.restartFlg);
    EXPECT_FALSE(f.settings.flag(FLAG));
    EXPECT_TRUE(f.settings.speedMeter) << "the running program keeps its unit";

    ViewerSettingModel again(f.settings, &f.restarter);
    again.load();
    EXPECT_FALSE(again.speedKmh) << "the stored choice is shown";
    EXPECT_TRUE(again.store()) << "still differs from the unit in use";
}

TEST(ViewerSettingDialogTest, OkWithANewUnitAsksAndRestartsCancelStoresNothing)
{
    Fixture f;
    FakePrompter prompter;
    {
        ViewerSettingDialog dialog(f.settings, &f.restarter, prompter);
        dialog.findChild<QButtonGroup *>("rbtnSpeedMeter")->button(1)->click();
        dialog.findChild<QComboBox *>("cmbTimeZone")->setCurrentIndex(2);
        dialog.reject();
        EXPECT_FALSE(f.settings.flag(FLAG));
        EXPECT_FALSE(f.settings.contains(UserDefaultUtil::KEY_TIME_ZONE));
    }
    ViewerSettingDialog dialog(f.settings, &f.restarter, prompter);
    dialog.findChild<QButtonGroup *>("rbtnSpeedMeter")->button(1)->click();
    dialog.btnOkClick();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].startsWith("confirm: Settings will be reflected"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.restarter.terminations, 1);
    EXPECT_TRUE(f.settings.restartFlg);
    EXPECT_FALSE(f.settings.speedMeter) << "settings reloaded before the quit";
    EXPECT_FALSE(f.settings.flag(FLAG));
}
