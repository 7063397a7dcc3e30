// Test helper: a script's answer from a web page, waited for on the event loop.
#pragma once

#include "support/EventLoop.h"

#include <QVariant>
#include <QWebEnginePage>

inline QVariant evaluateInPage(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool finished = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        finished = true;
    });
    EventLoop::waitUntil([&] { return finished; });
    return result;
}
