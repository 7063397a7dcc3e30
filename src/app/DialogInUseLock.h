// Guards the five file-changing dialogs across running copies of the viewer: one flag each in the shared
// settings store. A flag no other running copy can hold is stale and cleared before it is tested.
#pragma once

#include <QString>
#include <functional>

class UserDefaultUtil;

class DialogInUseLock
{
public:
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

    private:
        friend class DialogInUseLock;
        Hold(DialogInUseLock *lock, QString key) : _lock(lock), _key(std::move(key)) {}
        DialogInUseLock *_lock = nullptr;
        QString _key;
    };

    // otherInstanceRunning answers whether another copy of this program runs (default: a scan of /proc).
    explicit DialogInUseLock(UserDefaultUtil &store, std::function<bool()> otherInstanceRunning = {});

    // The stale check, the test and the set, atomic across copies. An empty holder means the dialog is
    // in use by another copy: the caller shows inUseWarningText() and opens nothing.
    Hold acquire(const QString &key);
    void release(const QString &key);

    // Another process runs this program's executable. Unknown own executable: taken as yes, so every
    // set flag counts as held by someone else.
    static bool isOtherInstanceRunning();
    // Another process than ownPid whose executable is exePath (canonical); scans /proc.
    static bool isOtherProcessRunning(const QString &exePath, qint64 ownPid);

    static QString inUseWarningText();

private:
    bool setFlagLocked(const QString &key, bool testFirst);

    UserDefaultUtil &_store;
    std::function<bool()> _otherInstanceRunning;
};
