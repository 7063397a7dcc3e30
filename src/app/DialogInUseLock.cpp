#include "app/DialogInUseLock.h"

#include "recording/UserDefaultUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

DialogInUseLock::Hold::Hold(Hold &&other) noexcept
    : _lock(std::exchange(other._lock, nullptr)), _key(std::move(other._key)),
      _refusal(std::move(other._refusal))
{
}

DialogInUseLock::Hold &DialogInUseLock::Hold::operator=(Hold &&other) noexcept
{
    if (this != &other) {
        release();
        _lock = std::exchange(other._lock, nullptr);
        _key = std::move(other._key);
        _refusal = std::move(other._refusal);
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

namespace {

// The system's reason why no file can be made at path: QLockFile only tells a kind of failure. Made and
// written as the lock file would be, then removed; empty when that works now.
QString whyNoFile(const QString &path)
{
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return probe.errorString();
    const QByteArray content(64, ' ');
    const bool written = probe.write(content) == content.size() && probe.flush();
    const QString reason = probe.errorString();
    probe.close();
    probe.remove();
    return written ? QString() : reason;
}

} // namespace

QString DialogInUseLock::lockFilePath() const
{
    return _store.fileName() + QStringLiteral(".dialogs.lock");
}

std::optional<DialogInUseLock::Refusal> DialogInUseLock::testAndSet(const QString &key)
{
    // Test and set under a lock file of our own beside the store (QSettings locks its own file per sync),
    // so two copies cannot both take the flag.
    const QString path = lockFilePath();
    QLockFile guard(path);
    guard.setStaleLockTime(10000);
    if (!guard.tryLock(5000)) {
        // Still held after the wait: another copy is in its own test and set.
        if (guard.error() == QLockFile::LockFailedError)
            return Refusal{inUseWarningText(), {}};
        const QString reason = whyNoFile(path);
        return Refusal{lockFailedText(), reason.isEmpty() ? path : path + QStringLiteral(": ") + reason};
    }
    if (!_otherInstanceRunning())
        _store.setFlag(key, false); // nobody else can hold it: a flag left by an ended copy
    if (_store.flag(key))
        return Refusal{inUseWarningText(), {}};
    _store.setFlag(key, true);
    return std::nullopt;
}

DialogInUseLock::Hold DialogInUseLock::acquire(const QString &key)
{
    if (auto refusal = testAndSet(key))
        return Hold(std::move(*refusal));
    return Hold(this, key);
}

void DialogInUseLock::release(const QString &key)
{
    // Under the same lock file as the test and set, when it can be made; a flag is freed even when not.
    QLockFile guard(lockFilePath());
    guard.setStaleLockTime(10000);
    guard.tryLock(5000);
    _store.setFlag(key, false);
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

QString DialogInUseLock::lockFailedText()
{
    return QCoreApplication::translate("DialogInUseLock",
                                       "The selected file operation cannot start because its lock file "
                                       "cannot be made.");
}

QString DialogInUseLock::inUseWarningText()
{
    return QCoreApplication::translate(
        "DialogInUseLock",
        "The selected file operation is currently in use by another instance of the application.");
}
