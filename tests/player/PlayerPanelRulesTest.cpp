#include "player/PlayerPanelRules.h"

#include <gtest/gtest.h>

#include <QTimeZone>

using PlayType = CommonConst::PlayType;
using PlayStatus = CommonConst::PlayStatus;
using Rules = PlayerPanelRules;

TEST(PlayerPanelRulesTest, SpeedSliderStepsAndOutOfRangeValues)
{
    const struct
    {
        int value;
        float rate;
        const char *text;
    } cases[] = {{0, 0.5f, "×0.5 time speed"},
                 {5, 10.0f, "×10 times speed"},
                 {-1, 1.0f, "standard"},
                 {6, 1.0f, "standard"}};
    for (const auto &c : cases) {
        const auto step = Rules::rateForSlider(c.value);
        EXPECT_EQ(step.rate, c.rate) << c.value;
        EXPECT_EQ(step.text, QString::fromUtf8(c.text)) << c.value;
    }
}

TEST(PlayerPanelRulesTest, SecondsFromTheEvent)
{
    const struct
    {
        bool ready;
        PlayType type;
        int64_t eventFrame, value;
        const char *text;
    } cases[] = {
        {false, PlayType::Event, 1000, 5000, "±00.0"},  {true, PlayType::Movie, 1000, 5000, ""},
        {true, PlayType::Event, -1, 5000, ""},          {true, PlayType::Event, 10000, 9960, "±00.0"},
        {true, PlayType::Event, 10000, 15300, "+05.3"}, {true, PlayType::Event, 20000, 8000, "-12.0"},
        {true, PlayType::Event, 0, 123400, "+123.4"}};
    for (const auto &c : cases)
        EXPECT_EQ(Rules::diffSecText(c.ready, c.type, c.eventFrame, c.value), QString::fromUtf8(c.text))
            << c.eventFrame << " " << c.value;
}

TEST(PlayerPanelRulesTest, DateLabelInEachFormatZoneAndSummerTimeWithPlaceholdersAndTheTrimJoin)
{
    const Date at = Date::fromDateTime(QDateTime(QDate(2019, 7, 1), QTime(20, 34, 56), Qt::UTC));
    const Date epoch = Date::fromUnixMilliseconds(0);
    using F = DateFormatType;
    const struct
    {
        F format;
        const char *zone;
        bool summer, ready;
        Date current;
        std::optional<Date> selectStart;
        const char *text;
    } cases[] = {
        {F::MDYAMPM, "America/Chicago", true, true, at, {}, "07.01.2019 03:34:56 PM"},
        {F::MDY24H, "America/Chicago", false, true, at, {}, "07.01.2019 14:34:56"},
        {F::YMDAMPM, "Canada/Pacific", false, true, at, {}, "2019.07.01 12:34:56 PM"},
        {F::YMD24H, "Canada/Pacific", true, true, at, {}, "2019.07.01 13:34:56"},
        {F::MDYAMPM, "Canada/Pacific", false, true, at, {}, "07.01.2019 12:34:56 PM"},
        {F::YMD24H, "America/Chicago", true, true, at, {}, "2019.07.01 15:34:56"},
        {F::YMD24H, "America/Chicago", false, false, at, {}, "----.--.-- --:--"},
        {F::MDYAMPM, "America/Chicago", false, true, epoch, {}, "--.--.---- --:-- --"},
        {F::YMD24H, "America/Chicago", false, true, at, at.addingSeconds(-90),
         "2019.07.01 14:33:26 ～ 2019.07.01 14:34:56"},
    };
    for (const auto &c : cases) {
        const Rules::DateInput in{c.format,     QString::fromLatin1(c.zone), c.summer, c.ready, c.current,
                                  c.selectStart};
        EXPECT_EQ(Rules::datetimeText(in), QString::fromUtf8(c.text)) << c.zone << c.summer;
    }
}

// Enabled buttons (one letter each) and tool tips of the control bar for one situation.
// p play, P pause shown, s stop, b frame back, g frame forward, r rewind, f forward, 1 first, 9 last.
TEST(PlayerPanelRulesTest, ControlBarMatrix)
{
    struct Case
    {
        bool ready;
        PlayType type;
        bool trim;
        const char *enabled;
        const char *firstTip;
        const char *rewindTip;
    };
    const Case cases[] = {
        {false, PlayType::Movie, false, "", "", ""},
        {false, PlayType::Event, true, "", "", ""},
        {true, PlayType::Movie, false, "pPsbgrf19", "Previous trip", "Previous chapter"},
        {true, PlayType::Adventure, false, "pPsbgrf19", "Previous adventure", "Previous chapter"},
        {true, PlayType::Event, false, "pPsbg19", "Previous event", ""},
        {true, PlayType::Surveillance, false, "pPsbg19", "Previous event", ""},
        // The trim selection starts at the position: no step back out of it.
        {true, PlayType::Movie, true, "pPsgrf19", "Previous trip", "Previous chapter"},
        {true, PlayType::Event, true, "pPsg19", "Previous event", ""},
    };
    for (const auto &c : cases) {
        Rules::ControlInput in;
        in.ready = c.ready;
        in.playType = c.type;
        in.status = c.ready ? PlayStatus::Play : PlayStatus::NotReady;
        in.value = 5000;
        in.maxValue = 60000;
        if (c.trim)
            in.trimSelectStart = 5000;
        in.hasPrevChapter = in.hasNextChapter = in.isPrevTrip = in.isNextTrip = true;
        const auto b = Rules::controlButtons(in);
        const std::pair<char, const Rules::Button *> all[] = {
            {'p', &b.play},   {'s', &b.stop},    {'b', &b.komaBack}, {'g', &b.komaGo},
            {'r', &b.rewind}, {'f', &b.forward}, {'1', &b.first},    {'9', &b.last}};
        std::string got;
        for (const auto &[letter, button] : all) {
            if (letter == 's' && b.pause.visible)
                got += 'P';
            if (button->enabled)
                got += letter;
            EXPECT_EQ(button->toolTip.isEmpty(), !button->enabled) << letter;
        }
        EXPECT_EQ(got, c.enabled) << int(c.type) << c.ready << c.trim;
        EXPECT_EQ(b.first.toolTip, QString::fromLatin1(c.firstTip));
        EXPECT_EQ(b.rewind.toolTip, QString::fromLatin1(c.rewindTip));
        EXPECT_EQ(b.fullscreen.enabled, c.ready);
        // One of play and pause in their place, whatever the state.
        for (const PlayStatus status :
             {PlayStatus::NotReady, PlayStatus::Stop, PlayStatus::Pause, PlayStatus::Play}) {
            in.status = status;
            const auto s = Rules::controlButtons(in);
            EXPECT_NE(s.play.visible, s.pause.visible) << int(status);
        }
    }
}

// At the end of the item play rewinds (the panel tests press it); at a trim end it is refused.
TEST(PlayerPanelRulesTest, PlayButtonAtATrimEnd)
{
    Rules::ControlInput in;
    in.ready = true;
    in.status = PlayStatus::Pause;
    in.maxValue = 60000;
    in.value = 30000;
    in.endValueMovieCut = 30000;
    EXPECT_FALSE(Rules::controlButtons(in).play.enabled);
}

TEST(PlayerPanelRulesTest, TrimAndZoomExcludeEachOther)
{
    const auto zoomOn = Rules::toolButtons({true, true, false, false});
    EXPECT_FALSE(zoomOn.cut.enabled);
    EXPECT_FALSE(zoomOn.snapShot.enabled);
    EXPECT_TRUE(zoomOn.zoom.enabled);
    const auto trimOn = Rules::toolButtons({true, false, true, true});
    EXPECT_TRUE(trimOn.cut.enabled);
    EXPECT_FALSE(trimOn.zoom.enabled);
    EXPECT_EQ(trimOn.save.toolTip, QStringLiteral("Save"));
    const auto notReady = Rules::toolButtons({false, false, false, true});
    EXPECT_TRUE(notReady.open.enabled && notReady.setting.enabled);
    EXPECT_FALSE(notReady.save.enabled || notReady.stopWatch.enabled || notReady.fullscreen.enabled);
    EXPECT_TRUE(notReady.fullscreen.toolTip.isEmpty());
}

TEST(PlayerPanelRulesTest, TabOrderOfTheToolBar)
{
    const struct
    {
        const char *from;
        bool forward, stopWatch;
        const char *to; // "" = the ordinary chain
    } cases[] = {{"google", true, true, "fullscrn"},
                 {"fullscrn", false, true, "google"},
                 {"setting", true, true, ""},
                 {"bright", false, true, ""},
                 {"setting", true, false, "bright"},
                 {"google", true, false, "bright"},
                 {"bright", false, false, "setting"},
                 {"fullscrn", false, false, "setting"},
                 {"zoom", true, false, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(
            Rules::moveToolFocus(QString::fromLatin1(c.from), c.forward, c.stopWatch).value_or(QString()),
            QString::fromLatin1(c.to))
            << c.from << c.forward << c.stopWatch;
}
