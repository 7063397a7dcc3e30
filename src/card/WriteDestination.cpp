#include "card/WriteDestination.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PlaceNames.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<struct stat> statOf(const QString &path)
{
    struct stat st
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

bool isSame(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool WriteDestination::isSameFile(const QString &a, const QString &b)
{
    return PlaceNames().samePlace(a, b);
}

bool WriteDestination::liesInside(const QString &path, const QString &folder)
{
    const auto inner = statOf(folder);
    // A relative or empty path names no place of its own.
    if (!inner || !QDir::isAbsolutePath(path))
        return false;
    QString existing = QDir::cleanPath(path);
    while (!QFileInfo::exists(existing) && existing != u"/")
        existing = QFileInfo(existing).path();
    const PlaceNames places;
    for (QString at = QFileInfo(existing).canonicalFilePath(); !at.isEmpty(); at = QFileInfo(at).path()) {
        const auto st = statOf(at);
        if (st && (isSame(*st, *inner) || (st->st_dev == inner->st_dev && places.samePlace(at, folder))))
            return true;
        if (at == u"/")
            break;
    }
    return false;
}

std::optional<QString> WriteDestination::sourceConflict(const QString &destination,
                                                        const std::optional<QUrl> &openSourcePath,
                                                        const ChapterList &chapters)
{
    const QString target = QFileInfo(destination).absoluteFilePath();
    // A long trip has a thousand chapters: a new file is none of them, and an existing one is compared
    // with each under one reading of the mounts.
    if (!chapters.empty() && statOf(target)) {
        const PlaceNames places;
        for (const auto &chapter : chapters) {
            for (const QUrl &url : {chapter->_pathMp4, chapter->_pathMove}) {
                if (url.isLocalFile() && places.samePlace(target, url.toLocalFile()))
                    return QStringLiteral("%1 is the recording %2").arg(target, url.toLocalFile());
            }
        }
    }
    if (!openSourcePath || !openSourcePath->isLocalFile())
        return std::nullopt;
    const auto [folderUrl, fileName] = FileUtil::splitPath(*openSourcePath);
    if (!folderUrl)
        return std::nullopt;
    const QString folder = folderUrl->toLocalFile();
    if (!fileName.isEmpty() && !CardData::isManagementFileName(fileName)) {
        // A single movie: its folder holds the user's other files, only the movie itself is the source.
        const QString movie = openSourcePath->toLocalFile();
        if (isSameFile(target, movie))
            return QStringLiteral("%1 is the opened recording").arg(target);
        return std::nullopt;
    }
    if (liesInside(target, folder))
        return QStringLiteral("%1 lies inside the opened folder %2").arg(target, folder);
    // The camera keeps its settings file at the card's root, one level above the movie folder.
    const QString settings =
        FileUtil::appendPath(QFileInfo(QDir::cleanPath(folder)).path(), CommonConst::FILE_NAME_SETTING_READ);
    if (isSameFile(target, settings))
        return QStringLiteral("%1 is the card's settings file").arg(target);
    return std::nullopt;
}

std::optional<QString> WriteDestination::folderProblem(const QString &folder)
{
    const QString probe = FileUtil::hiddenPathBeside(FileUtil::appendPath(folder, QStringLiteral("w")),
                                                     QStringLiteral("probe"));
    const QByteArray path = QFile::encodeName(probe);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return QStringLiteral("cannot write in %1: %2")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    ::unlink(path.constData());
    return std::nullopt;
}

QString WriteDestination::sourceConflictText()
{
    return tr("Files cannot be saved inside the opened card or backup folder. Please choose another folder.");
}

QString WriteDestination::folderProblemText()
{
    return tr("The selected folder cannot be written to. Please choose another folder.");
}
