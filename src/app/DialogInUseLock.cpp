#include "app/DialogInUseLock.h"

#include "recording/UserDefaultUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

DialogInUseLock::Hold::Hold(Hold &&other) noexcept
    : _lock(std::exchange(other._lock, nullptr)), _key(std::move(other._key))
{
}

DialogInUseLock::Hold &DialogInUseLock::Hold::operator=(Hold &&other) noexcept
{
    if (this != &other) {
        release();
        _lock = std::exchange(other._lock, nullptr);
        _key = std::move(other._key);
    }
    return *this;
}

DialogInUseLock::Hold::~Hold()
{
    release();
}

void DialogInUseLock::Hold::release()
{
    if (auto *lock = std::exchange(_lock, nullptr))
        lock->release(_key);
}

DialogInUseLock::DialogInUseLock(UserDefaultUtil &store, std::function<bool()> otherInstanceRunning)
    : _store(store), _otherInstanceRunning(otherInstanceRunning ? std::move(otherInstanceRunning)
                                                                : &DialogInUseLock::isOtherInstanceRunning)
{
}

bool DialogInUseLock::setFlagLocked(const QString &key, bool acquiring)
{
    // Test and set under a lock file of our own beside the store (QSettings locks its own file per sync),
    // so two copies cannot both take the flag.
    QLockFile guard(_store.fileName() + QStringLiteral(".dialogs.lock"));
    guard.setStaleLockTime(10000);
    const bool locked = guard.tryLock(5000);
    if (!acquiring) {
        _store.setFlag(key, false);
        return true;
    }
    if (!locked)
        return false;
    if (!_otherInstanceRunning())
        _store.setFlag(key, false); // nobody else can hold it: a flag left by an ended copy
    if (_store.flag(key))
        return false;
    _store.setFlag(key, true);
    return true;
}

DialogInUseLock::Hold DialogInUseLock::acquire(const QString &key)
{
    if (!setFlagLocked(key, true))
        return {};
    return Hold(this, key);
}

void DialogInUseLock::release(const QString &key)
{
    setFlagLocked(key, false);
}

bool DialogInUseLock::isOtherInstanceRunning()
{
    const QString own = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (own.isEmpty())
        return true;
    return isOtherProcessRunning(own, static_cast<qint64>(::getpid()));
}

bool DialogInUseLock::isOtherProcessRunning(const QString &exePath, qint64 ownPid)
{
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == ownPid)
            continue;
        // Processes of other users (or gone meanwhile) cannot be read and are not ours.
        const QString exe = QFileInfo(proc.filePath(entry + QStringLiteral("/exe"))).canonicalFilePath();
        if (!exe.isEmpty() && exe == exePath)
            return true;
    }
    return false;
}

QString DialogInUseLock::inUseWarningText()
{
    return QCoreApplication::translate(
        "DialogInUseLock",
        "The selected file operation is currently in use by another instance of the application.");
}
