#include "map/KmzExporter.h"

#include "card/WriteDestination.h"
#include "map/EventKmlBuilder.h"
#include "map/KmzWriter.h"
#include "map/TripKmlBuilder.h"
#include "platform/HeapPolicy.h"
#include "recording/CommonConst.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace {

std::int32_t clampToInt32(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

KmzExporter::KmzExporter(const UserDefaultUtil &settings, QString workDirectory)
    : _settings(settings),
      _workDirectory(workDirectory.isEmpty() ? CommonConst::DIR_PATH_MAP() : std::move(workDirectory))
{
}

QString KmzExporter::makeRandomName(int length)
{
    static const char alphabet[] = "1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString name;
    for (int i = 0; i < length; ++i)
        name += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))]);
    return name;
}

QString KmzExporter::entryName()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmm")) + QStringLiteral(".kml");
}

bool KmzExporter::exportTripKml(std::span<const std::shared_ptr<ChapterData>> chapters,
                                const QString &destination)
{
    return exportDocument(destination,
                          [&](const QString &name, const KmlDateSettings &dates, const WorkControl &control) {
                              return TripKmlBuilder::buildTripKml(chapters, name, dates, control);
                          });
}

bool KmzExporter::exportEventKml(const std::optional<ChapterList> &chapters, std::int64_t start,
                                 std::int64_t end, const MoveProtectInfo &record, const QString &destination)
{
    return exportDocument(
        destination, [&](const QString &name, const KmlDateSettings &dates, const WorkControl &control) {
            if (!chapters)
                return EventKmlBuilder::buildEventKml({}, 0, 0, record, name, dates);
            return EventKmlBuilder::buildEventKml(*chapters, clampToInt32(start), clampToInt32(end), record,
                                                  name, dates, control);
        });
}

template <typename Build> bool KmzExporter::exportDocument(const QString &destination, Build build)
{
    _lastError.clear();
    _wasCancelled = false;
    const auto dates = KmlDateSettings::fromSettings(_settings);
    if (!dates) {
        _lastError = QStringLiteral("the date format setting has no export format");
        return false;
    }
    if (destination.isEmpty()) {
        _lastError = QStringLiteral("no destination");
        return false;
    }
    if (const auto conflict = WriteDestination::sourceConflict(destination, _openSourcePath)) {
        _lastError = *conflict;
        return false;
    }
    // Without a private temporary folder the map folder's path is relative: never work below the
    // current folder.
    if (QDir::isRelativePath(_workDirectory)) {
        _lastError = QStringLiteral("no private temporary folder");
        return false;
    }
    const QString workFolder = QDir(_workDirectory).filePath(makeRandomName(12));
    // A second try: another export that just ended may have removed the map folder in between.
    if (!QDir().mkpath(workFolder) && !QDir().mkpath(workFolder)) {
        _lastError = QStringLiteral("cannot create the work folder %1").arg(workFolder);
        QDir().rmdir(_workDirectory);
        return false;
    }
    const QString name = QFileInfo(destination).completeBaseName();
    const QString kmlPath = QDir(workFolder).filePath(entryName());
    // The work's results; the runner returns only once it has ended.
    bool ok = false;
    bool cancelled = false;
    QString error;
    const Work work = [&](const WorkControl &control) {
        int chapters = 0;
        WorkControl reading = control;
        reading.steps = [&control, &chapters](int done, int total) {
            chapters = total;
            control.report(done, total + 1);
        };
        {
            XmlData document = build(name, *dates, reading);
            if (control.isCancelled()) {
                cancelled = true;
                return;
            }
            QFile kml(kmlPath);
            ok = kml.open(QIODevice::WriteOnly) && KmlUtil::writeKml(document, kml) && kml.flush();
            kml.close();
        }
        if (!ok)
            error = QStringLiteral("cannot write %1").arg(kmlPath);
        else
            ok = KmzWriter::write(destination, QFileInfo(kmlPath).fileName(), kmlPath, &error, control);
        cancelled = !ok && control.isCancelled();
        if (ok)
            control.report(chapters + 1, chapters + 1);
    };
    if (_runner)
        _runner(work);
    else
        work(WorkControl{});
    _wasCancelled = cancelled;
    _lastError = cancelled ? QStringLiteral("cancelled") : error;
    QDir(workFolder).removeRecursively();
    // The map folder goes too once no other export is using it.
    QDir().rmdir(_workDirectory);
    // A long trip's document took hundreds of megabytes in small blocks, which the allocator would keep.
    HeapPolicy::returnFreedMemory();
    return ok;
}
