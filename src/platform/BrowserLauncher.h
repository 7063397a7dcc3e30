// Opens a web page in the desktop's browser, and tells when none can be started: Qt's desktop services
// then only write "Unable to detect a web browser" to the terminal, where the user does not look.
#pragma once

class QUrl;

class BrowserLauncher
{
public:
    BrowserLauncher() = delete;

    // True when something that starts a browser is there: a portal inside a sandbox, the program
    // $DEFAULT_BROWSER or $BROWSER names, xdg-open, or a known browser on the PATH (the order Qt's
    // desktop services look in).
    static bool isAvailable();
    // False when no browser could be started; nothing is written to the terminal then.
    static bool open(const QUrl &url);
};
