// Packs one file into a KMZ (zip) archive at a destination that only changes once the archive is whole.
#pragma once

#include "platform/WorkControl.h"

#include <QString>

class KmzWriter
{
public:
    KmzWriter() = delete;

    // Writes an archive holding the source file as its one deflated entry, first in a hidden work folder
    // beside the destination (".kmz-XXXXXX"), then renamed over it. On failure the old destination is
    // as it was, no temporary file is left, and error (when given) says why. The work folders of
    // exports whose program was killed are removed first. A control stopped by the time the archive is
    // whole fails the write the same way.
    static bool write(const QString &destination, const QString &entryName, const QString &sourceFile,
                      QString *error = nullptr, const WorkControl &control = {});
};
