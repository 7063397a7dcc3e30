// A script sink for tests: records every script in order and reports a page state set by the test.
#pragma once

#include "map/MapScriptSink.h"

#include <QStringList>

class FakeScriptSink : public MapScriptSink
{
public:
    void runScript(const QString &script) override { scripts.append(script); }
    MapPageState pageState() const override { return state; }

    // What a real page does: a load, a click, a state report.
    void finishLoad() { emit pageLoaded(); }
    void click(const QString &key) { emit markerClicked(key); }
    void report(const MapPageState &newState)
    {
        state = newState;
        emit pageStateChanged();
    }
    QStringList take() { return std::exchange(scripts, {}); }

    QStringList scripts;
    MapPageState state;
};
