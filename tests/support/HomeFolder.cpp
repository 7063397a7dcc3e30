#include "support/HomeFolder.h"

#include <QFile>

HomeFolder::HomeFolder() : _oldHome(qgetenv("HOME")), _oldConfig(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
}

HomeFolder::~HomeFolder()
{
    qputenv("HOME", _oldHome);
    if (_oldConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", _oldConfig);
}
