#include "maintenance/BackupCopyJob.h"

#include "maintenance/BackupLeftovers.h"
#include "maintenance/FileCopier.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
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
        if (makeFolder(QFile::encodeName(path)) == 0) {
            _createdFolders << path;
            continue;
        }
        const int error = errno;
        // Another run backing up into the same folder made it meanwhile: it is there, and not ours.
        struct stat st
        {
        };
        if (error != EEXIST || ::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return QString::fromLocal8Bit(std::strerror(error));
    }
    return std::nullopt;
}

int BackupCopyJob::makeFolder(const QByteArray &path)
{
    return ::mkdir(path.constData(), 0755);
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
        if (const QString folder = QFileInfo(entry.target).path(); !_sweptFolders.contains(folder)) {
            BackupLeftovers::sweep(folder);
            _sweptFolders << folder;
        }
        const bool existed = exists(entry.target);
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
    if (outcome.cancelled)
        removeCreated();
    return outcome;
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
