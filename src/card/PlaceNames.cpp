#include "card/PlaceNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {
// mountinfo writes a blank, tab, line feed and backslash in a path as a backslash and three octal digits.
QString unescape(const QByteArray &field)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                bytes += char(code);
                i += 3;
                continue;
            }
        }
        bytes += field[i];
    }
    return QFile::decodeName(bytes);
}

bool isBelow(const QString &path, const QString &folder)
{
    return folder == u"/" || path == folder || path.startsWith(folder + u'/');
}
} // namespace

PlaceNames::PlaceNames()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (file.open(QIODevice::ReadOnly))
        _mounts = parseMountInfo(file.readAll());
}

std::vector<PlaceNames::Mount> PlaceNames::parseMountInfo(const QByteArray &text)
{
    std::vector<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        // id parent major:minor root point options [optional fields...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 1 >= fields.size())
            continue;
        const QList<QByteArray> numbers = fields[2].split(':');
        bool majorOk = false;
        bool minorOk = false;
        const unsigned major = numbers.value(0).toUInt(&majorOk);
        const unsigned minor = numbers.value(1).toUInt(&minorOk);
        if (numbers.size() != 2 || !majorOk || !minorOk)
            continue;
        mounts.push_back({makedev(major, minor), unescape(fields[3]), unescape(fields[4]),
                          QString::fromUtf8(fields[dash + 1])});
    }
    return mounts;
}

bool PlaceNames::ignoresCase(const QString &type)
{
    // A FUSE driver names its file system after itself ("fuse.exfat"); one on a block device says only
    // "fuseblk", and those are the FAT, exFAT and NTFS drivers.
    static const QStringList kTypes{"vfat",    "msdos",   "exfat",      "ntfs",    "ntfs3", "fuseblk",
                                    "fusefat", "ntfs-3g", "lowntfs-3g", "hfsplus", "cifs",  "smb3"};
    const QString name = type.startsWith(u"fuse.") ? type.mid(5) : type;
    return kTypes.contains(name, Qt::CaseInsensitive);
}

bool PlaceNames::sameName(const QString &a, const QString &b, bool ignoringCase)
{
    return a.compare(b, ignoringCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

const PlaceNames::Mount *PlaceNames::mountOf(const QString &canonicalPath, dev_t device,
                                             QString *inside) const
{
    const Mount *best = nullptr;
    for (const Mount &mount : _mounts) {
        if (mount.device == device && isBelow(canonicalPath, mount.point) &&
            (!best || mount.point.size() > best->point.size()))
            best = &mount;
    }
    if (best) {
        const QString rest = best->point == u"/" ? canonicalPath : canonicalPath.mid(best->point.size());
        *inside = QDir::cleanPath(best->root + u'/' + rest);
    }
    return best;
}

bool PlaceNames::samePlace(const QString &a, const QString &b) const
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    if (a.isEmpty() || b.isEmpty() || ::stat(QFile::encodeName(a).constData(), &first) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &second) != 0 || first.st_dev != second.st_dev)
        return false;
    if (first.st_ino == second.st_ino)
        return true;
    QString insideA;
    QString insideB;
    const Mount *mount = mountOf(QFileInfo(a).canonicalFilePath(), first.st_dev, &insideA);
    return mount && ignoresCase(mount->type) &&
           mountOf(QFileInfo(b).canonicalFilePath(), second.st_dev, &insideB) &&
           sameName(insideA, insideB, true);
}
