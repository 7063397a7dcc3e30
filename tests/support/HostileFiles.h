// Files a pulled card, a backup folder or a crafted copy can hand the readers, for the robustness
// suites: camera MP4s built byte by byte, a chapter whose driving data lie about its length, FIFOs;
// and the memory a read takes.
#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

class HostileFiles
{
public:
    HostileFiles() = delete;

    static QByteArray u32(uint32_t bigEndian);
    static QByteArray box(const char *type, const QByteArray &payload);
    // ftyp, with durationMs >= 0 a moov holding only its movie header, a udat whose entry table
    // lists the entries in order ahead of their bytes, and an empty mdat.
    static QByteArray mp4(const std::vector<QByteArray> &entries, int durationMs = -1);
    // A camera MP4 of durationMs whose one data block holds `records` frame records gapMs apart.
    static QByteArray chapter(int records, int gapMs, int durationMs);
    // A sparse file of `size` bytes holding only the given pieces (offset, bytes); false on failure.
    static bool writeSparse(const QString &path, qint64 size,
                            const std::vector<std::pair<qint64, QByteArray>> &pieces);
    // A FIFO at the path; false when it cannot be made.
    static bool makeFifo(const QString &path);
    // Peak resident memory of this process since the last reset, in bytes; reset() makes the
    // current use the peak (false where the kernel does not allow it).
    static bool resetPeakResident();
    static qint64 peakResidentBytes();
};
