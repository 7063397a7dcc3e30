#include "support/CaseBlindVolume.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <unistd.h>

namespace {
constexpr qint64 kImageBytes = qint64(96) << 20;

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
}

// Runs a tool to its end; its error output when it fails, else nothing.
std::optional<QString> runTool(const QString &program, const QStringList &args, QString *output = nullptr)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return program + " did not finish";
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + ": " + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return std::nullopt;
}
} // namespace

CaseBlindVolume::CaseBlindVolume(Kind kind) : _mount(_dir.filePath("volume"))
{
    QDir().mkpath(_mount);
    const QString image = _dir.filePath("volume.img");
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(kImageBytes)) {
        _problem = "cannot make the image file";
        return;
    }
    file.close();
    if (!mount(kind, image) && _problem.isEmpty())
        _problem = "the volume did not mount";
}

QString CaseBlindVolume::name(Kind kind)
{
    return kind == Kind::Fat ? QStringLiteral("FAT") : QStringLiteral("exFAT");
}

bool CaseBlindVolume::mount(Kind kind, const QString &image)
{
    const QString mkfs = tool(kind == Kind::Fat ? "mkfs.vfat" : "mkfs.exfat");
    const QString driver = tool(kind == Kind::Fat ? "fusefat" : "mount.exfat-fuse");
    if (mkfs.isEmpty() || driver.isEmpty() || !QFile::exists("/dev/fuse")) {
        _problem = QStringLiteral("no %1 tools or no FUSE here (scripts/install-deps installs them)")
                       .arg(name(kind));
        return false;
    }
    if (const auto error = runTool(mkfs, {image})) {
        _problem = *error;
        return false;
    }
    QString device = image;
    // Run by root, the exFAT driver takes only a block device; for others it reads the image itself.
    if (kind == Kind::Exfat && ::geteuid() == 0) {
        const QString losetup = tool("losetup");
        if (losetup.isEmpty()) {
            _problem = "no losetup for the exFAT image";
            return false;
        }
        if (const auto error = runTool(losetup, {"-f", "--show", image}, &_loop)) {
            _problem = *error;
            return false;
        }
        device = _loop;
    }
    const QStringList args =
        kind == Kind::Fat ? QStringList{"-o", "rw+", device, _mount} : QStringList{device, _mount};
    if (const auto error = runTool(driver, args)) {
        _problem = *error;
        return false;
    }
    // A driver that goes into the background may answer before the mount is in place.
    for (int i = 0; i < 200 && !isMountPoint(); ++i)
        QThread::msleep(10);
    return isMountPoint();
}

bool CaseBlindVolume::isMountPoint() const
{
    QFile mounts("/proc/self/mountinfo");
    if (!mounts.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = " " + QFile::encodeName(_mount) + " ";
    return mounts.readAll().contains(needle);
}

CaseBlindVolume::~CaseBlindVolume()
{
    if (isMountPoint()) {
        // The driver may still be busy with the last writes for a moment.
        const QString fusermount = tool("fusermount").isEmpty() ? tool("fusermount3") : tool("fusermount");
        for (int i = 0; i < 50 && !fusermount.isEmpty() && runTool(fusermount, {"-u", _mount}); ++i)
            QThread::msleep(100);
        if (isMountPoint())
            runTool(tool("umount"), {"-l", _mount});
        for (int i = 0; i < 200 && isMountPoint(); ++i)
            QThread::msleep(10);
    }
    if (!_loop.isEmpty())
        runTool(tool("losetup"), {"-d", _loop});
}

QString CaseBlindVolume::filePath(const QString &name) const
{
    return QDir(_mount).filePath(name);
}
