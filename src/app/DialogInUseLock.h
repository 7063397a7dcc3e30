// Guards the five file-changing dialogs across running copies of the viewer: one flag each in the shared
// settings store. A flag no other running copy can hold is stale and cleared before it is tested.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class UserDefaultUtil;

class DialogInUseLock
{
public:
    // Why a flag was not taken: the alert's text and, when the lock itself failed, its file and the
    // system's reason.
    struct Refusal
    {
        QString text;
        QString cause;
    };

    // A held flag, released when the holder goes (the handler's modal run has returned, whatever path
    // the dialog ended on). A moved-from or released holder releases nothing.
    class Hold
    {
    public:
        Hold() = default;
        Hold(Hold &&other) noexcept;
        Hold &operator=(Hold &&other) noexcept;
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;
        ~Hold();
        bool isHeld() const { return _lock != nullptr; }
        explicit operator bool() const { return isHeld(); }
        void release();
        // Of an empty holder that acquire gave.
        const Refusal &refusal() const { return _refusal; }

    private:
        friend class DialogInUseLock;
        Hold(DialogInUseLock *lock, QString key) : _lock(lock), _key(std::move(key)) {}
        explicit Hold(Refusal refusal) : _refusal(std::move(refusal)) {}
        DialogInUseLock *_lock = nullptr;
        QString _key;
        Refusal _refusal;
    };

    // otherInstanceRunning answers whether another copy of this program runs (default: a scan of /proc).
    explicit DialogInUseLock(UserDefaultUtil &store, std::function<bool()> otherInstanceRunning = {});

    // The stale check, the test and the set, atomic across copies. An empty holder means the dialog is
    // in use by another copy, or the lock file that makes the pair atomic cannot be made (a read-only or
    // full settings folder): the caller shows its refusal and opens nothing.
    Hold acquire(const QString &key);
    void release(const QString &key);

    // Another process runs this program's executable. Unknown own executable: taken as yes, so every
    // set flag counts as held by someone else.
    static bool isOtherInstanceRunning();
    // Another process than ownPid whose executable is exePath (canonical); scans /proc.
    static bool isOtherProcessRunning(const QString &exePath, qint64 ownPid);

    static QString inUseWarningText();
    static QString lockFailedText();
    // Beside the settings store.
    QString lockFilePath() const;

private:
    std::optional<Refusal> testAndSet(const QString &key);

    UserDefaultUtil &_store;
    std::function<bool()> _otherInstanceRunning;
};
