#include "maintenance/BackupLeftovers.h"

#include "recording/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<BackupLeftovers::Leftover> BackupLeftovers::parse(const QString &fileName)
{
    static const QRegularExpression kName(QStringLiteral("^\\.(?:(.+)\\.)?[0-9A-Za-z]{8}\\.(part|keep)$"));
    const auto match = kName.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    return Leftover{match.captured(2) == u"part" ? Leftover::Kind::Copy : Leftover::Kind::Kept,
                    match.captured(1)};
}

int BackupLeftovers::sweep(const QString &folder)
{
    int cleared = 0;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const auto leftover = parse(name);
        // A set-aside file whose name was shortened away cannot be placed, and may be the only copy.
        if (!leftover || (leftover->kind == Leftover::Kind::Kept && leftover->target.isEmpty()))
            continue;
        const QByteArray path = QFile::encodeName(FileUtil::appendPath(folder, name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st
        {
        };
        // A writer holds its copy locked until the rename; a dead one's lock went with it.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            bool done = false;
            if (leftover->kind == Leftover::Kind::Kept) {
                const QByteArray target = QFile::encodeName(FileUtil::appendPath(folder, leftover->target));
                struct stat at
                {
                };
                if (::lstat(target.constData(), &at) != 0 && errno == ENOENT)
                    done = ::rename(path.constData(), target.constData()) == 0;
            }
            if (done || ::unlink(path.constData()) == 0)
                ++cleared;
        }
        ::close(fd);
    }
    return cleared;
}
