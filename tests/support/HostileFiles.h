// Files a pulled card, a backup folder or a crafted copy can hand the readers, for the robustness
// suites: a chapter whose driving data lie about its length, FIFOs; and the memory a read takes.
#pragma once

#include <QByteArray>
#include <QString>

class HostileFiles
{
public:
    HostileFiles() = delete;

    // A camera MP4 of durationMs (ftyp, a moov holding only its movie header, udat, an empty mdat)
    // whose one data block holds `records` frame records gapMs apart.
    static QByteArray chapter(int records, int gapMs, int durationMs);
    // A FIFO at the path; false when it cannot be made.
    static bool makeFifo(const QString &path);
    // Peak resident memory of this process since the last reset, in bytes; reset() makes the
    // current use the peak (false where the kernel does not allow it).
    static bool resetPeakResident();
    static qint64 peakResidentBytes();
};
