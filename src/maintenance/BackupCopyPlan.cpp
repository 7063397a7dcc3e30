#include "maintenance/BackupCopyPlan.h"

#include "maintenance/ManagementFiles.h"
#include "recording/FileUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {
QString fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return text;
}
// True when path, or where it would be made, lies inside folder or is folder: every existing ancestor is
// compared by device and inode, so links and a file system that ignores case cannot hide it.
bool liesInside(const QString &path, const QString &folder)
{
    struct stat inner
    {
    };
    // A relative or empty path is refused by targetOf.
    if (!QDir::isAbsolutePath(path) || ::stat(QFile::encodeName(folder).constData(), &inner) != 0)
        return false;
    QString existing = QDir::cleanPath(path);
    while (!QFileInfo::exists(existing) && existing != u"/")
        existing = QFileInfo(existing).path();
    for (QString at = QFileInfo(existing).canonicalFilePath(); !at.isEmpty(); at = QFileInfo(at).path()) {
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(at).constData(), &st) == 0 && st.st_dev == inner.st_dev &&
            st.st_ino == inner.st_ino)
            return true;
        if (at == u"/")
            break;
    }
    return false;
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

bool BackupCopyPlan::isSameFile(const QString &a, const QString &b)
{
    struct stat sa
    {
    };
    struct stat sb
    {
    };
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
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
    if (folderSource && liesInside(plan._destDirPath, plan._sourceFolder)) {
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
        if (*target == QDir::cleanPath(source) || isSameFile(source, *target)) {
            fail(error, QStringLiteral("%1 would be copied onto itself").arg(source));
            return std::nullopt;
        }
        // A link in an earlier backup folder may lead back into the source.
        if (folderSource && liesInside(QFileInfo(*target).path(), plan._sourceFolder)) {
            fail(error, QStringLiteral("%1 would be written inside the source folder").arg(*target));
            return std::nullopt;
        }
        plan._entries.push_back({QDir::cleanPath(source), *target});
    }
    return plan;
}
