#include "player/PlayerPanelRules.h"

#include "recording/DateFormatTypeUtil.h"

#include <array>
#include <cmath>

using PlayStatus = CommonConst::PlayStatus;
using PlayType = CommonConst::PlayType;

PlayerPanelRules::RateStep PlayerPanelRules::rateForSlider(int value)
{
    struct Step
    {
        float rate;
        const char *text;
    };
    static constexpr std::array<Step, 6> steps{{{0.5f, QT_TR_NOOP("×0.5 time speed")},
                                                {1.0f, QT_TR_NOOP("standard")},
                                                {2.0f, QT_TR_NOOP("×2 times speed")},
                                                {3.0f, QT_TR_NOOP("×3 times speed")},
                                                {5.0f, QT_TR_NOOP("×5 times speed")},
                                                {10.0f, QT_TR_NOOP("×10 times speed")}}};
    const Step step =
        value >= 0 && value < static_cast<int>(steps.size()) ? steps[static_cast<size_t>(value)] : steps[1];
    return {step.rate, tr(step.text)};
}

std::optional<int> PlayerPanelRules::sliderForRate(float rate)
{
    constexpr int STEPS = 6;
    for (int value = 0; value < STEPS; ++value) {
        if (rateForSlider(value).rate == rate)
            return value;
    }
    return std::nullopt;
}

QString PlayerPanelRules::diffSecText(bool ready, PlayType type, int64_t eventFrame, int64_t value)
{
    const QString zero = tr("±00.0");
    if (!ready)
        return zero;
    if (type != PlayType::Event || eventFrame < 0)
        return {};
    const double d = static_cast<double>(value - eventFrame) / 1000.0;
    if (QString::number(std::fabs(d), 'f', 1) == QLatin1String("0.0"))
        return zero;
    return QString::asprintf(d > 0 ? "+%04.1f" : "-%04.1f", std::fabs(d));
}

QString PlayerPanelRules::datetimeText(const DateInput &in)
{
    const auto placeholder = DateFormatTypeUtil::format(DateFormatTypeUtil::noDateTexts(), in.format);
    const auto format = DateFormatTypeUtil::format(DateFormatTypeUtil::dateTimeFormats(), in.format);
    const QString empty = placeholder ? tr(placeholder->toUtf8().constData()) : QString();
    if (!in.ready || !format)
        return empty;
    const auto text = [&](const Date &d) { return d.toString(*format, in.timeZone, in.summerTime); };
    if (in.selectStart)
        return text(*in.selectStart) + QStringLiteral(" ～ ") + text(in.current);
    // The epoch is what a position without a recording date reports.
    if (in.current.toUnixMilliseconds() == 0)
        return empty;
    return text(in.current);
}

namespace {
PlayerPanelRules::Button button(bool enabled, const QString &tip, bool visible = true)
{
    return {enabled, visible, enabled ? tip : QString()};
}
} // namespace

PlayerPanelRules::Controls PlayerPanelRules::controlButtons(const ControlInput &in)
{
    Controls c;
    if (!in.ready) {
        c.pause.visible = false;
        return c;
    }
    const int64_t end = in.endValueMovieCut ? std::min(in.maxValue, *in.endValueMovieCut) : in.maxValue;
    int64_t start = in.minValue;
    for (const auto &bound : {in.startValueStopwatch, in.startValueMovieCut})
        if (bound)
            start = std::max(start, *bound);
    const bool isList = in.playType == PlayType::Movie || in.playType == PlayType::Adventure;
    const QString first = in.playType == PlayType::Movie       ? tr("Previous trip")
                          : in.playType == PlayType::Adventure ? tr("Previous adventure")
                                                               : tr("Previous event");
    const QString last = in.playType == PlayType::Movie       ? tr("Next Trip")
                         : in.playType == PlayType::Adventure ? tr("Next adventure")
                                                              : tr("Next event");

    c.pause = button(true, tr("momentary pause"), in.status == PlayStatus::Play);
    // At a trim end the play button waits; at the very end it rewinds when pressed.
    c.play = button(in.value < end || end >= in.maxValue, tr("Play back"));
    c.trackbar = button(true, {});
    c.stop = button(in.status != PlayStatus::Stop, tr("Stop"));
    c.komaBack = button(start < in.value && (!in.trimSelectStart || *in.trimSelectStart < in.value),
                        tr("Frame playback"));
    c.komaGo = button(in.value < end, tr("Frame advance"));
    c.rewind = button(isList && in.hasPrevChapter, tr("Previous chapter"));
    c.forward = button(isList && in.hasNextChapter, tr("Next chapter"));
    c.first = button(in.isPrevTrip, first);
    c.last = button(in.isNextTrip, last);
    c.fullscreen = button(true, {});
    // One of play and pause shows at a time, in the same place.
    c.play.visible = !c.pause.visible;
    return c;
}

PlayerPanelRules::Tools PlayerPanelRules::toolButtons(const ToolInput &in)
{
    Tools t;
    t.open = button(true, {});
    t.save = button(in.ready && in.saveAvailable, tr("Save"));
    t.setting = button(true, tr("Setting"));
    t.cut = button(in.ready && !in.zoomOn, tr("Trim Tool"));
    t.snapShot = button(in.ready && !in.zoomOn, tr("Screen Capture"));
    t.zoom = button(in.ready && !in.trimOn, tr("Zoom"));
    t.stopWatch = button(in.ready, tr("Stopwatch"));
    t.google = button(in.ready, tr("File output for Google Earth"));
    t.fullscreen = button(in.ready, tr("Full Screen Display"));
    return t;
}

std::optional<QString> PlayerPanelRules::moveToolFocus(const QString &from, bool forward,
                                                       bool stopWatchEnabled)
{
    if (forward && (from == QLatin1String("google") || from == QLatin1String("setting"))) {
        if (!stopWatchEnabled)
            return QStringLiteral("bright");
        if (from == QLatin1String("google"))
            return QStringLiteral("fullscrn");
    }
    if (!forward && (from == QLatin1String("bright") || from == QLatin1String("fullscrn"))) {
        if (!stopWatchEnabled)
            return QStringLiteral("setting");
        if (from == QLatin1String("fullscrn"))
            return QStringLiteral("google");
    }
    return std::nullopt;
}

int PlayerPanelRules::moveZoomHover(int hovered, bool forward)
{
    constexpr int count = 5;
    if (hovered < 0 || hovered >= count)
        return 0;
    return forward ? (hovered + 1) % count : (hovered + count - 1) % count;
}
