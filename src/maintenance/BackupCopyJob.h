// One backup run: copies the plan's files in order through a copier, stops on cancel or on the first
// failure, and then removes exactly what this run created (its new files, then its new folders bottom-up
// when they are empty). A file that stood at its target before keeps what the run completed over it, and
// the file in progress keeps its earlier bytes: the copier puts each copy in place by one rename, so an
// earlier file is never away from its name, whenever the run dies. What a run that died leaves is hidden
// beside its targets, and the next run clears it from each folder it writes in.
// Runs on any one thread; the caller posts progress to the user interface.
#pragma once

#include "maintenance/BackupCopyPlan.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

class FileCopier;

class BackupCopyJob
{
public:
    struct Outcome
    {
        bool cancelled = false;       // by the user or by a failure
        std::optional<QString> alert; // the failure's text for the user, when one stopped the run
        QString detail;               // what failed, with the path and the system's reason
        int copied = 0;
        int total = 0;
        // The cause for an alert's detail text; empty after success or a cancel.
        const QString &failureReason() const { return detail; }
    };
    using Progress = std::function<void(int copied, int total)>;

    BackupCopyJob(BackupCopyPlan plan, FileCopier &copier);
    virtual ~BackupCopyJob() = default;

    // The cancel flag is read once before each file, so the file being copied is finished first.
    Outcome run(const std::atomic<bool> &cancel, const Progress &progress = {});

    // Progress as the progress label shows it: whole percent and a full-width percent sign.
    static QString percentText(double value);

protected:
    // mkdir; a seam for tests to make the folder first, as another run would.
    virtual int makeFolder(const QByteArray &path);

private:
    // Makes the target's missing parent folders, noting each one made; the failure's text otherwise.
    std::optional<QString> makeParents(const QString &target);
    void removeCreated();

    BackupCopyPlan _plan;
    FileCopier &_copier;
    QStringList _createdFiles;
    QStringList _createdFolders; // in creation order, so parents come before children
    QStringList _sweptFolders;
};
