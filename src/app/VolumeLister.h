// The mounted volumes, behind an interface so that tests give fake ones.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class VolumeLister
{
public:
    struct Volume
    {
        QString path;   // mount point
        bool removable; // a card reader's or a removable disk's volume
    };

    virtual ~VolumeLister() = default;
    virtual std::vector<Volume> mountedVolumes() const = 0;

    // The removable volumes' paths in ascending order.
    QStringList removablePaths() const;
};
