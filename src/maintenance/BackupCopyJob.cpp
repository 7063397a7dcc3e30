#include "maintenance/BackupCopyJob.h"

#include "maintenance/FileCopier.h"
#include "recording/FileUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool exists(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}
} // namespace

BackupCopyJob::BackupCopyJob(BackupCopyPlan plan, FileCopier &copier)
    : _plan(std::move(plan)), _copier(copier)
{
}

QString BackupCopyJob::percentText(double value)
{
    return QString::number(static_cast<long long>(value)) + QChar(0xFF05);
}

std::optional<QString> BackupCopyJob::makeParents(const QString &target)
{
    const QString folder = QFileInfo(target).path();
    QStringList missing;
    for (QString path = folder; !path.isEmpty() && path != u"/"; path = QFileInfo(path).path()) {
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return QString::fromLocal8Bit(std::strerror(ENOTDIR));
            break;
        }
        missing.prepend(path);
    }
    for (const QString &path : missing) {
        if (::mkdir(QFile::encodeName(path).constData(), 0755) != 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        _createdFolders << path;
    }
    return std::nullopt;
}

BackupCopyJob::Outcome BackupCopyJob::run(const std::atomic<bool> &cancel, const Progress &progress)
{
    Outcome outcome;
    outcome.total = int(_plan.entries().size());
    for (const auto &entry : _plan.entries()) {
        if (cancel.load()) {
            outcome.cancelled = true;
            break;
        }
        if (const auto error = makeParents(entry.target)) {
            outcome.alert = *error;
            outcome.detail = QStringLiteral("cannot make the folder of %1: %2").arg(entry.target, *error);
            break;
        }
        const bool existed = exists(entry.target);
        if (existed) {
            if (const auto error = keepEarlier(entry.target)) {
                outcome.alert = *error;
                outcome.detail = QStringLiteral("cannot keep the earlier %1: %2").arg(entry.target, *error);
                break;
            }
        }
        const FileCopier::Result result = _copier.copy(entry.source, entry.target);
        if (!result.ok) {
            outcome.alert = QCoreApplication::translate("BackupSettingDialog", "Unable to copy the file.");
            outcome.detail = result.error;
            break;
        }
        if (!existed)
            _createdFiles << entry.target;
        ++outcome.copied;
        if (progress)
            progress(outcome.copied, outcome.total);
    }
    if (outcome.alert || cancel.load())
        outcome.cancelled = true;
    if (outcome.cancelled) {
        restoreKept();
        removeCreated();
    } else {
        dropKept();
    }
    return outcome;
}

std::optional<QString> BackupCopyJob::keepEarlier(const QString &target)
{
    struct stat st
    {
    };
    // A folder at the target is refused by the copier and left alone.
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return std::nullopt;
    const QString keep = FileUtil::hiddenPathBeside(target, QStringLiteral("keep"));
    const QByteArray from = QFile::encodeName(target);
    const QByteArray to = QFile::encodeName(keep);
    // A second link leaves the target in place while it is copied over; a file system without hard
    // links (FAT) gets the file moved aside instead, and the copy makes the target anew.
    if (::link(from.constData(), to.constData()) != 0 && ::rename(from.constData(), to.constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    _kept.push_back({target, keep});
    return std::nullopt;
}

void BackupCopyJob::restoreKept()
{
    for (auto it = _kept.crbegin(); it != _kept.crend(); ++it) {
        const QByteArray keep = QFile::encodeName(it->keep);
        // A target the copy never replaced is still the kept file itself: rename leaves both names.
        if (::rename(keep.constData(), QFile::encodeName(it->target).constData()) == 0)
            ::unlink(keep.constData());
    }
    _kept.clear();
}

void BackupCopyJob::dropKept()
{
    for (const Kept &kept : std::as_const(_kept)) {
        // The new bytes reach the disk before the only other copy of the old ones goes.
        const int fd = ::open(QFile::encodeName(kept.target).constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fdatasync(fd);
            ::close(fd);
        }
        ::unlink(QFile::encodeName(kept.keep).constData());
    }
    _kept.clear();
}

void BackupCopyJob::removeCreated()
{
    for (const QString &file : std::as_const(_createdFiles))
        ::unlink(QFile::encodeName(file).constData());
    // rmdir only removes an empty folder, so anything else put there meanwhile survives.
    for (auto it = _createdFolders.crbegin(); it != _createdFolders.crend(); ++it)
        ::rmdir(QFile::encodeName(*it).constData());
    _createdFiles.clear();
    _createdFolders.clear();
}
