// The machine's mounted volumes from QStorageInfo. A volume counts as removable when its block device
// says so in sysfs, when it is an SD-card reader's (mmcblk*), or when the desktop mounted it under
// /media or /run/media (where removable media go).
#pragma once

#include "app/VolumeLister.h"

class StorageVolumeLister : public VolumeLister
{
public:
    // sysRoot: where /sys/class/block is read (tests give a folder of their own).
    explicit StorageVolumeLister(QString sysRoot = QStringLiteral("/sys"));

    std::vector<Volume> mountedVolumes() const override;

    bool isRemovable(const QString &device, const QString &mountPoint) const;

private:
    QString _sysRoot;
};
