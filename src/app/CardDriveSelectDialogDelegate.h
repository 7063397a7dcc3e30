// The owner of a card drive selection (the Open From dialog, or the camera settings command).
#pragma once

#include <QString>

class CardDriveSelectDialogDelegate
{
public:
    virtual ~CardDriveSelectDialogDelegate() = default;
    // The chosen volume's recordings folder: the volume path followed by "/MOVE/".
    virtual void openCardDrivePath(const QString &path) = 0;
    // May the selection go on (no stopwatch result lost, or the user agreed)?
    virtual bool confirmStopWatchReset() = 0;
};
