// The modal steps of a trim that need the user: alerts, the long-job question, the save panel and the
// progress dialog. TrimDialogs shows them with Qt's dialogs; the main window may give its own, tests
// give a fake.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class TrimPrompts
{
public:
    enum class Style
    {
        Critical,
        Informational,
    };

    virtual ~TrimPrompts() = default;
    // An alert with the one button "OK"; returns when it is closed. cause, when given, says why a
    // failure happened (ffmpeg's last error line, the file and the system's error).
    virtual void showAlert(Style style, const QString &title, const QString &text,
                           const QString &cause = {}) = 0;
    // A question with "OK" first and "Cancel" second; true for OK.
    virtual bool confirm(const QString &title, const QString &text) = 0;
    // The save panel in folder, for files ending in .extension; the chosen path, or none.
    virtual std::optional<QString> chooseDestination(const QString &folder, const QString &extension) = 0;
    // Shows the progress dialog; onCancel runs (on the main thread) when the user cancels or closes it.
    virtual void openProgress(const QString &title, std::function<void()> onCancel) = 0;
    virtual void setProgress(double value, const QString &label) = 0;
    virtual void closeProgress() = 0;
};
