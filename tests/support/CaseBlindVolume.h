// A small FAT or exFAT volume mounted below a private temporary folder for the life of the guard: a file
// system that ignores letter case and has no hard links, as a camera's card is. Both are served through
// FUSE from an image file, which needs no root where FUSE is open to users (root's exFAT goes through a
// loop device). Where the tools or the rights are missing, problem() says why, for the skip message.
#pragma once

#include "support/TempDir.h"

#include <QString>

class CaseBlindVolume
{
public:
    enum class Kind
    {
        Fat,
        Exfat,
    };
    explicit CaseBlindVolume(Kind kind);
    ~CaseBlindVolume();
    CaseBlindVolume(const CaseBlindVolume &) = delete;
    CaseBlindVolume &operator=(const CaseBlindVolume &) = delete;

    static QString name(Kind kind);
    bool mounted() const { return _problem.isEmpty(); }
    const QString &problem() const { return _problem; }
    // The volume's root folder.
    const QString &path() const { return _mount; }
    QString filePath(const QString &name) const;

private:
    bool mount(Kind kind, const QString &image);
    bool isMountPoint() const;

    TempDir _dir;
    QString _mount;
    QString _loop;
    QString _problem;
};
