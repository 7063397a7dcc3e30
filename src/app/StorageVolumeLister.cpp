#include "app/StorageVolumeLister.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

StorageVolumeLister::StorageVolumeLister(QString sysRoot) : _sysRoot(std::move(sysRoot)) {}

std::vector<VolumeLister::Volume> StorageVolumeLister::mountedVolumes() const
{
    std::vector<Volume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady())
            continue;
        const QString path = storage.rootPath();
        volumes.push_back({path, isRemovable(QString::fromLocal8Bit(storage.device()), path)});
    }
    return volumes;
}

bool StorageVolumeLister::isRemovable(const QString &device, const QString &mountPoint) const
{
    if (mountPoint.startsWith(QLatin1String("/media/")) ||
        mountPoint.startsWith(QLatin1String("/run/media/")))
        return true;
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = QFileInfo(device).fileName();
    if (name.startsWith(QLatin1String("mmcblk")))
        return true;
    // A partition's folder lies inside its disk's; the disk carries the flag.
    QString block = QFileInfo(_sysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (block.isEmpty())
        return false;
    if (QFileInfo::exists(block + QStringLiteral("/partition")))
        block = QFileInfo(block).absolutePath();
    QFile flag(block + QStringLiteral("/removable"));
    return flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1";
}
