// One backup run: copies the plan's files in order through a copier, stops on cancel or on the first
// failure, and then removes exactly what this run created (its new files, then its new folders bottom-up
// when they are empty) and puts back what it replaced: a file of an earlier backup is kept beside its
// target under a hidden name until the whole run has succeeded, so an earlier backup is never left half
// replaced. Runs on any one thread; the caller posts progress to the user interface.
#pragma once

#include "maintenance/BackupCopyPlan.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

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

    // The cancel flag is read once before each file, so the file being copied is finished first.
    Outcome run(const std::atomic<bool> &cancel, const Progress &progress = {});

    // Progress as the progress label shows it: whole percent and a full-width percent sign.
    static QString percentText(double value);

private:
    // Makes the target's missing parent folders, noting each one made; the failure's text otherwise.
    std::optional<QString> makeParents(const QString &target);
    void removeCreated();
    // Keeps the file at target beside it until the run ends; the failure's text otherwise.
    std::optional<QString> keepEarlier(const QString &target);
    // After a failure or cancel: each kept file back at its target. After success: the kept files gone.
    void restoreKept();
    void dropKept();

    BackupCopyPlan _plan;
    FileCopier &_copier;
    QStringList _createdFiles;
    QStringList _createdFolders; // in creation order, so parents come before children
    struct Kept
    {
        QString target;
        QString keep;
    };
    std::vector<Kept> _kept;
};
