#include "app/VolumeLister.h"

QStringList VolumeLister::removablePaths() const
{
    QStringList paths;
    for (const Volume &volume : mountedVolumes()) {
        if (volume.removable)
            paths << volume.path;
    }
    paths.sort();
    return paths;
}
