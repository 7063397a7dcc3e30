// The camera's own settings file SETINF.DAT for a synthetic card: a 24-byte header and 8-byte items.
#pragma once

#include "samplecard/SampleScenario.h"

#include <QByteArray>
#include <QString>

class SampleSettingsFile
{
public:
    // A group code the viewer does not know, written so that readers can show they keep it.
    static constexpr uint8_t UNKNOWN_CODE[2] = {0x40, 0x07};

    // The file's bytes: the count of items at header byte 8, the items from byte 24.
    static QByteArray bytes(const SampleScenario &scenario);
    // Writes bytes() to path (parent folders created); false with error set on failure.
    static bool write(const SampleScenario &scenario, const QString &path, QString *error);
};
