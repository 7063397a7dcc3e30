// Writes the route of a trip or of an event as a KMZ file: the KML text in a fresh work folder, packed
// into the destination, the work folder removed on every path.
#pragma once

#include "card/TripData.h"
#include "platform/WorkControl.h"

#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class MoveProtectInfo;
class UserDefaultUtil;

class KmzExporter
{
public:
    // Dates follow the settings as they stand at each export. Work folders are made below
    // workDirectory (by default the map folder of the program's private temporary folder).
    explicit KmzExporter(const UserDefaultUtil &settings, QString workDirectory = {});

    // The opened card or backup, whose folder no export may write into; none by default.
    void setOpenSource(const std::optional<QUrl> &openSourcePath) { _openSourcePath = openSourcePath; }

    // The long part of an export: reading the recordings, building the document, writing and packing
    // it. It touches no setting and nothing of this object, so it may run on any thread; it stops early
    // when its control is stopped, and reports one step per chapter and one for the archive.
    using Work = std::function<void(const WorkControl &control)>;
    // Runs the work it is given (on a thread of its own, say) and returns once it has ended. Without a
    // runner the work runs on the calling thread and cannot be stopped.
    using Runner = std::function<void(const Work &work)>;
    void setRunner(Runner runner) { _runner = std::move(runner); }

    // True only when the destination now holds the new archive; otherwise it is as it was.
    bool exportTripKml(std::span<const std::shared_ptr<ChapterData>> chapters, const QString &destination);
    bool exportEventKml(const std::optional<ChapterList> &chapters, std::int64_t start, std::int64_t end,
                        const MoveProtectInfo &record, const QString &destination);
    // Why the last export failed.
    const QString &lastError() const { return _lastError; }
    // The last export failed because its work was stopped; the destination is as it was.
    bool wasCancelled() const { return _wasCancelled; }

    // Characters drawn uniformly from the 62 digits and ASCII letters.
    static QString makeRandomName(int length);
    // The archive's entry: the local time of the export, "yyyyMMddHHmm.kml".
    static QString entryName();

private:
    template <typename Build> bool exportDocument(const QString &destination, Build build);

    const UserDefaultUtil &_settings;
    QString _workDirectory;
    std::optional<QUrl> _openSourcePath;
    Runner _runner;
    QString _lastError;
    bool _wasCancelled = false;
};
