// The alerts and questions of the backup and delete flows, behind an interface so that the flows can be
// driven without windows (tests answer them; the application shows message boxes).
#pragma once

#include <QString>

class MaintenancePrompter
{
public:
    enum class RemoveAnswer
    {
        Retry,
        Ignore,
        Cancel
    };

    virtual ~MaintenancePrompter() = default;
    // "Warning", critical style, one button; cause, when given, says why (the file and the system's error).
    virtual void warn(const QString &text, const QString &cause = {}) = 0;
    // "confirmation" with "Cancel" (the default) and "OK"; true for "OK".
    virtual bool confirm(const QString &text, bool critical) = 0;
    // A removal failed: for a folder "ignore"/"Retry", for a file "Cancel"/"Retry"/"ignore"; cause says why.
    virtual RemoveAnswer askRemoveFailure(bool folder, const QString &cause = {}) = 0;
};
