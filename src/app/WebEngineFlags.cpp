#include "app/WebEngineFlags.h"

#include <QList>

QByteArray WebEngineFlags::quieted(const QByteArray &flags)
{
    for (const QByteArray &flag : flags.split(' ')) {
        if (flag.startsWith("--log-level") || flag.startsWith("--enable-logging") ||
            flag.startsWith("--v=") || flag.startsWith("--vmodule"))
            return flags;
    }
    const QByteArray trimmed = flags.trimmed();
    return trimmed.isEmpty() ? QByteArray("--log-level=3") : trimmed + " --log-level=3";
}

void WebEngineFlags::quietChromium()
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", quieted(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
}
