// HOME (and the file naming the XDG user folders) pointed at an empty folder of the test's own for its
// lifetime: no Documents folder unless the test makes one.
#pragma once

#include "support/TempDir.h"

#include <QByteArray>

class HomeFolder
{
public:
    HomeFolder();
    ~HomeFolder();
    HomeFolder(const HomeFolder &) = delete;
    HomeFolder &operator=(const HomeFolder &) = delete;

    TempDir home;

private:
    QByteArray _oldHome, _oldConfig;
};
