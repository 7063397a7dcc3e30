// What the viewer settings dialog needs of the application shell to apply its settings: quitting so that
// the program starts again. The main window implements it.
#pragma once

class ApplicationRestarter
{
public:
    virtual ~ApplicationRestarter() = default;
    // Asks the application to quit, as the Quit command does (the main window may still ask). With
    // UserDefaultUtil::restartFlg set, the application starts a detached copy of itself once it has
    // terminated; a cancelled quit clears the flag.
    virtual void terminateForRestart() = 0;
};
