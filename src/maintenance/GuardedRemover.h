// The one place that deletes backup data: a chapter file inside a backup folder, or a whole backup folder
// that is a direct child of the backup root. Everything else is refused, so no path handed in by mistake
// (the root itself, "root/..", a link that leads out of the root) can make it delete the user's files.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <optional>

class GuardedRemover
{
    Q_DECLARE_TR_FUNCTIONS(GuardedRemover)
public:
    explicit GuardedRemover(QString backupRoot);
    virtual ~GuardedRemover() = default;

    // Why a path may not be removed, in words for the user; none when it may.
    std::optional<QString> refuseFolder(const QString &folder) const;
    std::optional<QString> refuseFile(const QString &file, const QString &folder) const;

    // Remove and report the reason of a refusal or failure; none on success (also when nothing was there).
    // Virtual so tests can make a removal fail.
    virtual std::optional<QString> removeFolder(const QString &folder) const;
    virtual std::optional<QString> removeFile(const QString &file, const QString &folder) const;

private:
    QString _backupRoot;
};
