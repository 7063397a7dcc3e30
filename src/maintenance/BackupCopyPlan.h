// What one backup copies: each source file of the opened folder and its target in the backup folder, the
// chapters first and the management files last.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

class BackupCopyPlan
{
public:
    struct Entry
    {
        QString source;
        QString target;
    };

    // Chapter paths as the tree lists them; the management files of the source folder that exist are
    // appended when the source is a folder or one of those files. Fails (lastError) when the source path is
    // unknown or when any file lies outside the source folder or would be copied onto itself.
    static std::optional<BackupCopyPlan> make(const std::optional<QUrl> &openSourcePath,
                                              const QStringList &chapterPaths, const QString &destDirPath,
                                              QString *error = nullptr);

    // The target of a source by path arithmetic: its path relative to the source folder, below the
    // destination. None for a path outside the folder (also through "..") or the folder itself.
    static std::optional<QString> targetOf(const QString &source, const QString &sourceFolder,
                                           const QString &destDirPath);

    const std::vector<Entry> &entries() const { return _entries; }
    const QString &sourceFolder() const { return _sourceFolder; }
    const QString &destDirPath() const { return _destDirPath; }

private:
    std::vector<Entry> _entries;
    QString _sourceFolder;
    QString _destDirPath;
};
