// One backup run: copies the plan's files in order through a copier, stops on cancel or on the first
// failure, and then removes exactly what this run created (its new files, then its new folders bottom-up
// when they are empty). Runs on any one thread; the caller posts progress to the user interface.
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

    BackupCopyPlan _plan;
    FileCopier &_copier;
    QStringList _createdFiles;
    QStringList _createdFolders; // in creation order, so parents come before children
};
