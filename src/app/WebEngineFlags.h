// Qt WebEngine's Chromium writes its own error lines to the terminal, such as a GPU context it only
// retries ("ContextResult::kTransientFailure") at every start on some machines. Unless the user asks
// for its logging, it keeps to fatal ones.
#pragma once

#include <QByteArray>

class WebEngineFlags
{
public:
    WebEngineFlags() = delete;

    // The QTWEBENGINE_CHROMIUM_FLAGS to run with, given the user's: theirs, plus "--log-level=3" when
    // they choose no log level and no logging of their own.
    static QByteArray quieted(const QByteArray &flags);
    // Sets the variable so, before the application object exists.
    static void quietChromium();
};
