// A small file system of its own (tmpfs) mounted on a folder for the life of the guard, to fill up. Only
// root may mount; tests skip where the mount fails.
#pragma once

#include <QString>
#include <cstdint>

class SmallVolume
{
public:
    // Makes the folder (with its parents) and mounts sizeMiB of memory on it.
    SmallVolume(QString path, int sizeMiB);
    ~SmallVolume();
    SmallVolume(const SmallVolume &) = delete;
    SmallVolume &operator=(const SmallVolume &) = delete;

    const QString &path() const { return _path; }
    bool active() const { return _isMounted; }
    // Why the mount failed, for the skip message.
    const QString &whyNot() const { return _whyNot; }
    // Fills the volume with one file until about freeBytes are left (rounded to its pages); a second
    // call refills it to a new level. True when the file was written.
    bool leaveFree(int64_t freeBytes);

private:
    QString _path;
    QString _whyNot;
    bool _isMounted = false;
};
