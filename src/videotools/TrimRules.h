// The trim tool's checks before a save and its progress figures, apart from the panel that shows them.
#pragma once

#include "card/TripData.h"
#include "recording/CommonConst.h"
#include "videotools/OverlayFlags.h"

#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>

class TrimRules
{
public:
    TrimRules() = delete;

    static constexpr int64_t MIN_RANGE_MS = 2000;       // shorter selections are refused
    static constexpr int64_t CUTMOVIE_BUSY_MS = 300000; // from here a trim with burned-in data asks first

    static bool isRangeTooShort(int64_t rangeMs) { return rangeMs < MIN_RANGE_MS; }
    static bool needsLongJobConfirmation(OverlayFlags flags, int64_t rangeMs)
    {
        return flags.any() && rangeMs >= CUTMOVIE_BUSY_MS;
    }
    // Whole hours (only from one hour) and minutes, each followed by its unit text.
    static QString makeDurationText(int64_t spanMs, const QString &strHour, const QString &strMinute);

    // Room for a trim of rangeMs: one card file of MOVE_FILE_SIZE MB per started recording span;
    // the work folder holds the cuts and the joined clip, the destination the clip.
    struct DiskNeed
    {
        int64_t workMiB = 0;
        int64_t destinationMiB = 0;
    };
    static DiskNeed diskNeed(CommonConst::RecMode recMode, int64_t rangeMs);
    // Free bytes as the volumes report them (-1 when unknown, which counts as none).
    static bool hasDiskSpace(CommonConst::RecMode recMode, int64_t rangeMs, int64_t workFreeBytes,
                             int64_t destinationFreeBytes);

    // The same with the free space the volumes of the two folders report, each asked for its own need
    // (on one volume, the clip is renamed into place there, so the work folder's need covers both);
    // makes the work folder first, since a folder that does not exist reports none.
    static bool checkDiskSpace(CommonConst::RecMode recMode, int64_t rangeMs, const QString &workFolder,
                               const QString &destinationFolder);

    // The alert text for a destination the tools may not write: inside the opened card or backup (or
    // one of chapters), or in a folder that takes no new file. None when it may be written.
    static std::optional<QString> refusedDestinationText(const QString &destination,
                                                         const std::optional<QUrl> &openSourcePath,
                                                         const ChapterList &chapters);

    // The save panel's name with the tool's file type: another type gets the extension appended, so
    // a typed name can never replace a recording or a card file of another type ("jpg" is a "jpeg").
    static QString withExtension(const QString &path, const QString &extension);

    // The progress bar stays at 99 until the job's last step forces 100.
    static double progressValue(double percent, bool force)
    {
        return percent >= 100.0 && !force ? 99.0 : percent;
    }
    static QString progressLabel(double value) { return QString::number(int64_t(value)) + QLatin1Char('%'); }
};
