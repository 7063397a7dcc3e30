#include "player/PauseSettle.h"

#include <QTimer>

#include <utility>

#include <mpv/client.h>

PauseSettle::PauseSettle(QObject *context, Engine engine) : _context(context), _engine(std::move(engine)) {}

void PauseSettle::start(double playRate)
{
    _settle = Settle{playRate, std::nullopt, ++_settles};
    if (!_engine.readRestingTime()) {
        end(_engine.timePos());
        return;
    }
    ++_readsInFlight;
    QTimer::singleShot(ANSWER_LIMIT_MS, _context, [this, id = _settle->id] {
        if (_settle && _settle->id == id)
            end(_settle->restSec.value_or(_engine.timePos()));
    });
}

void PauseSettle::takeReply(const mpv_event &event)
{
    // A later pause's read is the one that counts.
    if (--_readsInFlight > 0 || !_settle || _settle->restSec)
        return;
    const auto *property = static_cast<const mpv_event_property *>(event.data);
    if (event.error < 0 || !property || property->format != MPV_FORMAT_DOUBLE) {
        end(_engine.timePos());
        return;
    }
    _settle->restSec = *static_cast<double *>(property->data);
    QTimer::singleShot(LIMIT_MS, _context, [this, id = _settle->id] {
        if (_settle && _settle->id == id)
            end(_settle->restSec);
    });
    check();
}

void PauseSettle::check()
{
    if (!_settle || !_settle->restSec)
        return;
    // Within half a picture: the times the core reports are the pictures' own, rounded.
    const double frameRate = _engine.frameRate();
    const double half = frameRate > 0.0 ? 0.5 / frameRate : 0.001;
    if (_engine.shownTime() + half >= *_settle->restSec)
        end(_settle->restSec);
}

void PauseSettle::end(std::optional<double> restSec)
{
    if (!_settle)
        return;
    _settle.reset();
    _engine.ended(restSec);
}
