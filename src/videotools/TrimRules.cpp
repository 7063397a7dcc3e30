#include "videotools/TrimRules.h"

#include "card/WriteDestination.h"
#include "recording/IOUtil.h"

#include <QDir>
#include <QFileInfo>

QString TrimRules::makeDurationText(int64_t spanMs, const QString &strHour, const QString &strMinute)
{
    const int64_t hours = spanMs / 3600000;
    const int64_t minutes = (spanMs % 3600000) / 60000;
    QString text;
    if (spanMs >= 3600000)
        text = QString::number(hours) + strHour;
    return text + QString::number(minutes) + strMinute;
}

TrimRules::DiskNeed TrimRules::diskNeed(CommonConst::RecMode recMode, int64_t rangeMs)
{
    const int64_t files = rangeMs / CommonConst::recSpan(recMode) + 1;
    const int64_t clipMiB = int64_t(CommonConst::MOVE_FILE_SIZE) * files;
    return {clipMiB + (clipMiB - CommonConst::MOVE_FILE_SIZE), clipMiB - CommonConst::MOVE_FILE_SIZE};
}

bool TrimRules::hasDiskSpace(CommonConst::RecMode recMode, int64_t rangeMs, int64_t workFreeBytes,
                             int64_t destinationFreeBytes)
{
    const DiskNeed need = diskNeed(recMode, rangeMs);
    const auto mib = [](int64_t bytes) { return bytes < 0 ? 0 : bytes / 1048576; };
    return mib(workFreeBytes) >= need.workMiB && mib(destinationFreeBytes) >= need.destinationMiB;
}

bool TrimRules::checkDiskSpace(CommonConst::RecMode recMode, int64_t rangeMs, const QString &workFolder,
                               const QString &destinationFolder)
{
    QDir().mkpath(workFolder);
    return hasDiskSpace(recMode, rangeMs, IOUtil::getFreeSpace(workFolder),
                        IOUtil::getFreeSpace(destinationFolder));
}

std::optional<QString> TrimRules::refusedDestinationText(const QString &destination,
                                                         const std::optional<QUrl> &openSourcePath,
                                                         const ChapterList &chapters)
{
    if (const auto conflict = WriteDestination::sourceConflict(destination, openSourcePath, chapters)) {
        qWarning("Refused destination: %s", qPrintable(*conflict));
        return WriteDestination::sourceConflictText();
    }
    if (const auto problem = WriteDestination::folderProblem(QFileInfo(destination).absolutePath())) {
        qWarning("Refused destination: %s", qPrintable(*problem));
        return WriteDestination::folderProblemText();
    }
    return std::nullopt;
}

QString TrimRules::withExtension(const QString &path, const QString &extension)
{
    const QString suffix = QFileInfo(path).suffix();
    const bool isJpeg = extension.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0 &&
                        suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
    if (isJpeg || suffix.compare(extension, Qt::CaseInsensitive) == 0)
        return path;
    return path + QLatin1Char('.') + extension;
}
