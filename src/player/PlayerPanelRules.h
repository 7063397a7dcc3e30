// What the player panel's controls show, worked out from the play state: the rate of the speed slider,
// the seconds-from-event and date labels, which buttons are enabled with which tool tips, the tool bar's
// Tab order and the zoom menu's keyboard highlight. Widgets only apply these answers.
#pragma once

#include "recording/CommonConst.h"
#include "recording/Date.h"
#include "recording/DateFormatType.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>

class PlayerPanelRules
{
    Q_DECLARE_TR_FUNCTIONS(MoviePlayerView)

public:
    struct RateStep
    {
        float rate;
        QString text;
    };
    // The speed slider's steps 0...5; any other value is the standard rate.
    static RateStep rateForSlider(int value);
    // The slider step that gives this rate; none for a rate the slider does not offer.
    static std::optional<int> sliderForRate(float rate);

    // Seconds from the event moment: always signed, two integer digits, one decimal.
    static QString diffSecText(bool ready, CommonConst::PlayType type, int64_t eventFrame, int64_t value);

    // The date label: the format's placeholder until a recording date is known; a trim selection shows
    // its start and the position joined by a full-width tilde.
    struct DateInput
    {
        DateFormatType format = DateFormatType::MDY24H;
        QString timeZone;
        bool summerTime = false;
        bool ready = false;
        Date current;
        std::optional<Date> selectStart; // set while the trim selection is on
    };
    static QString datetimeText(const DateInput &in);

    struct Button
    {
        bool enabled = false;
        bool visible = true;
        QString toolTip; // empty: no tool tip
    };
    struct ControlInput
    {
        bool ready = false;
        CommonConst::PlayType playType = CommonConst::PlayType::Movie;
        CommonConst::PlayStatus status = CommonConst::PlayStatus::NotReady;
        int64_t value = 0, minValue = 0, maxValue = 0;
        std::optional<int64_t> startValueStopwatch, startValueMovieCut, endValueMovieCut;
        std::optional<int64_t> trimSelectStart;              // the track bar's trim selection, while on
        bool hasPrevChapter = false, hasNextChapter = false; // adventure neighbours / movie index bounds
        bool isPrevTrip = false, isNextTrip = false;
    };
    struct Controls
    {
        Button play, pause, stop, komaBack, komaGo, rewind, forward, first, last, fullscreen, trackbar;
    };
    static Controls controlButtons(const ControlInput &in);

    struct ToolInput
    {
        bool ready = false;
        bool zoomOn = false, trimOn = false;
        bool saveAvailable = false; // the main window's answer for the save button
    };
    struct Tools
    {
        Button open, save, setting, cut, snapShot, zoom, stopWatch, google, fullscreen;
    };
    static Tools toolButtons(const ToolInput &in);

    // Tab and Shift+Tab from the tool bar's button with the identifier: the identifier that takes the
    // focus, or none when the ordinary focus chain applies.
    static std::optional<QString> moveToolFocus(const QString &from, bool forward, bool stopWatchEnabled);

    // The zoom menu's keyboard highlight: index 0...4 of the highlighted scale button, 5 = none.
    static int moveZoomHover(int hovered, bool forward);
};
