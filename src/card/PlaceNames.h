// Whether two existing paths name the same place, as the file system that holds them compares names. Card
// drives (FAT, exFAT, NTFS, through any driver) ignore letter case, and some FUSE drivers give one folder
// another inode for each spelling of its path, so device and inode alone miss "move" for "MOVE" there:
// on such a file system the paths below its mount are compared without regard to case as well.
#pragma once

#include <QByteArray>
#include <QString>
#include <sys/types.h>
#include <vector>

class PlaceNames
{
public:
    struct Mount
    {
        dev_t device = 0;
        QString root;  // the folder of the file system mounted there, "/" unless a part was bound
        QString point; // where it is mounted
        QString type;  // "vfat", "fuseblk", "fuse.fusefat", ...
    };

    // Reads the mounts of this process.
    PlaceNames();
    explicit PlaceNames(std::vector<Mount> mounts) : _mounts(std::move(mounts)) {}

    // True when both paths exist and are one file or folder: the same device and inode, or on a file
    // system that ignores case, the same path below its mount but for case.
    bool samePlace(const QString &a, const QString &b) const;

    // The mounts as /proc/self/mountinfo lists them (with its octal escapes undone).
    static std::vector<Mount> parseMountInfo(const QByteArray &text);
    // True for the file system types that compare names without regard to case.
    static bool ignoresCase(const QString &type);
    // Two absolute clean paths compared as such a file system compares them.
    static bool sameName(const QString &a, const QString &b, bool ignoringCase);

private:
    // The path inside its file system, and that file system's mount; none when no mount holds it.
    const Mount *mountOf(const QString &canonicalPath, dev_t device, QString *inside) const;

    std::vector<Mount> _mounts;
};
