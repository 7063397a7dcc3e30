#include "maintenance/ManagementFiles.h"

#include "recording/FileUtil.h"

#include <QFileInfo>

const QStringList &ManagementFiles::names()
{
    static const QStringList list{"VREC_MOV_MNG.DAT", "MOV_PRCT.DAT", "ADV_PRCT.DAT"};
    return list;
}

std::array<std::int64_t, 3> ManagementFiles::sizesIn(const QString &folder)
{
    std::array<std::int64_t, 3> sizes{};
    for (size_t i = 0; i < sizes.size(); ++i) {
        const QFileInfo info(FileUtil::appendPath(folder, names()[qsizetype(i)]));
        sizes[i] = info.isFile() ? info.size() : 0;
    }
    return sizes;
}

std::int64_t ManagementFiles::totalIn(const QString &folder)
{
    std::int64_t total = 0;
    for (const std::int64_t size : sizesIn(folder))
        total += size;
    return total;
}

bool ManagementFiles::isManagementFile(const QString &name)
{
    return names().contains(name.toUpper());
}
