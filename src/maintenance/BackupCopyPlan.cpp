#include "maintenance/BackupCopyPlan.h"

#include "card/WriteDestination.h"
#include "maintenance/ManagementFiles.h"
#include "recording/FileUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return text;
}
} // namespace

std::optional<QString> BackupCopyPlan::targetOf(const QString &source, const QString &sourceFolder,
                                                const QString &destDirPath)
{
    // A relative destination (a backup root set as a relative path) would land below the current folder.
    if (sourceFolder.isEmpty() || !QDir::isAbsolutePath(destDirPath) || !QDir::isAbsolutePath(source) ||
        !QDir::isAbsolutePath(sourceFolder))
        return std::nullopt;
    const QString folder = QDir::cleanPath(sourceFolder);
    const QString file = QDir::cleanPath(source);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    // Case-sensitive on purpose: the file system is, and a name differing in case is another file.
    if (!file.startsWith(prefix) || file.size() == prefix.size())
        return std::nullopt;
    const QString relative = file.mid(prefix.size());
    return QDir::cleanPath(destDirPath) + u'/' + relative;
}

std::optional<BackupCopyPlan> BackupCopyPlan::make(const std::optional<QUrl> &openSourcePath,
                                                   const QStringList &chapterPaths,
                                                   const QString &destDirPath, QString *error)
{
    if (!openSourcePath || !openSourcePath->isLocalFile()) {
        fail(error, QStringLiteral("no opened source"));
        return std::nullopt;
    }
    const auto [folderUrl, fileName] = FileUtil::splitPath(*openSourcePath);
    if (!folderUrl) {
        fail(error, QStringLiteral("no source folder"));
        return std::nullopt;
    }
    BackupCopyPlan plan;
    plan._sourceFolder = QDir::cleanPath(folderUrl->toLocalFile());
    plan._destDirPath = QDir::cleanPath(destDirPath);

    QStringList sources = chapterPaths;
    const bool folderSource = fileName.isEmpty() || ManagementFiles::isManagementFile(fileName);
    // A folder source is read with all its sub-folders: a backup inside it would write onto the card and
    // become part of the source the next time it is opened.
    if (folderSource && WriteDestination::liesInside(plan._destDirPath, plan._sourceFolder)) {
        fail(error, QStringLiteral("the backup folder %1 lies inside the source folder %2")
                        .arg(plan._destDirPath, plan._sourceFolder));
        return std::nullopt;
    }
    if (folderSource) {
        for (const QString &name : ManagementFiles::names()) {
            const QString path = FileUtil::appendPath(plan._sourceFolder, name);
            if (QFileInfo(path).isFile())
                sources << path;
        }
    }
    for (const QString &source : sources) {
        const auto target = targetOf(source, plan._sourceFolder, plan._destDirPath);
        if (!target) {
            fail(error,
                 QStringLiteral("%1 lies outside the source folder %2").arg(source, plan._sourceFolder));
            return std::nullopt;
        }
        if (*target == QDir::cleanPath(source) || WriteDestination::isSameFile(source, *target)) {
            fail(error, QStringLiteral("%1 would be copied onto itself").arg(source));
            return std::nullopt;
        }
        // A link in an earlier backup folder may lead back into the source.
        if (folderSource && WriteDestination::liesInside(QFileInfo(*target).path(), plan._sourceFolder)) {
            fail(error, QStringLiteral("%1 would be written inside the source folder").arg(*target));
            return std::nullopt;
        }
        plan._entries.push_back({QDir::cleanPath(source), *target});
    }
    return plan;
}
