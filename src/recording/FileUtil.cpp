#include "recording/FileUtil.h"

#include "recording/CommonConst.h"
#include "recording/Regex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <dirent.h>

namespace {

bool denotesDirectory(const QUrl &url)
{
    return url.path(QUrl::FullyDecoded).endsWith(QLatin1Char('/'));
}

QString pathExtension(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1)
        return {};
    return name.mid(dot + 1);
}

QString lastPathComponent(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 || path.size() == 1 ? path : path.mid(slash + 1);
}

QString deletingPathExtension(const QString &path)
{
    const QString extension = pathExtension(path);
    return extension.isEmpty() ? path : path.left(path.size() - extension.size() - 1);
}

void collectFiles(const QString &dirPath, const Regex &regex, QList<QUrl> &out, int depth)
{
    // Deep enough for any card; stops a pathological tree from exhausting the stack.
    if (depth > 64)
        return;
    QDir dir(dirPath);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        if (entry.isDir() && !entry.isSymLink()) {
            if (name != QLatin1String("_extras"))
                collectFiles(entry.filePath(), regex, out, depth + 1);
            continue;
        }
        if (entry.isDir())
            continue;
        if (regex.matches(name))
            out.append(QUrl::fromLocalFile(entry.filePath()));
    }
}

} // namespace

QString FileUtil::appendPath(const QString &base, const QString &name, const QStringList &names)
{
    QString path = base;
    auto append = [&path](const QString &component) {
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += component;
    };
    append(name);
    for (const QString &component : names)
        append(component);
    return path;
}

std::int32_t FileUtil::getFileNumber(const QString &name)
{
    const QString stem = lastPathComponent(deletingPathExtension(name));
    if (stem.size() < 4)
        return 0;
    const QString digits = stem.right(4);
    // Only an optional sign and decimal digits, as a strict integer parse takes them.
    qsizetype start = (digits.front() == QLatin1Char('+') || digits.front() == QLatin1Char('-')) ? 1 : 0;
    for (qsizetype i = start; i < digits.size(); ++i) {
        if (digits.at(i) < QLatin1Char('0') || digits.at(i) > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const int value = digits.toInt(&ok, 10);
    return ok ? value : 0;
}

QString FileUtil::getTripKey(const QString &name)
{
    static const Regex form1(CommonConst::PATTERN_MOVE_REGEX_FILE);
    static const Regex form2(CommonConst::PATTERN_MOVE_REGEX_FILE2);
    static const Regex form3(CommonConst::PATTERN_MOVE_REGEX_INFO);
    if (form1.matches(name))
        return name.mid(1, 12);
    if (form2.matches(name) || form3.matches(name))
        return name.left(12);
    return {};
}

std::pair<std::optional<QUrl>, QString> FileUtil::splitPath(const QUrl &url)
{
    if (denotesDirectory(url))
        return {url, QString()};
    const QString path = url.path(QUrl::FullyDecoded);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {std::nullopt, path};
    QUrl folder = url;
    folder.setPath(path.left(slash + 1), QUrl::DecodedMode);
    return {folder, path.mid(slash + 1)};
}

QList<QUrl> FileUtil::findFiles(const QUrl &folder, const QString &pattern)
{
    QList<QUrl> out;
    if (!folder.isLocalFile() || !denotesDirectory(folder))
        return out;
    const Regex regex(pattern);
    collectFiles(folder.toLocalFile(), regex, out, 0);
    return out;
}

QList<QUrl> FileUtil::searchMovieFiles(const QUrl &selection)
{
    const auto [folder, name] = splitPath(selection);
    if (!folder)
        return {};
    const QString upper = name.toUpper();
    const bool isManagementFile = upper == CommonConst::FILE_NAME_VREC ||
                                  upper == CommonConst::FILE_NAME_PRCT ||
                                  upper == CommonConst::FILE_NAME_ADVP;
    if (!denotesDirectory(selection) && !isManagementFile) {
        if (pathExtension(name) == QLatin1String("MP4"))
            return {selection};
        return {};
    }
    static const Regex dirPattern(CommonConst::PATTERN_MOVE_REGEX_DIR);
    const QString folderPath = folder->path(QUrl::FullyDecoded);
    QList<QUrl> taken;
    for (const QUrl &file : findFiles(*folder, CommonConst::PATTERN_MOVE)) {
        QString rel = file.path(QUrl::FullyDecoded);
        // Only the leading folder goes: its text may appear again deeper in the path.
        if (rel.startsWith(folderPath))
            rel.remove(0, folderPath.size());
        const QString fileName = lastPathComponent(file.path(QUrl::FullyDecoded));
        if (dirPattern.matches(rel) && !getTripKey(fileName).isEmpty() && getFileNumber(fileName) > 0)
            taken.append(file);
    }
    return taken;
}

namespace {
// The names in a folder as the file system spells them; none when it cannot be read.
std::optional<QSet<QByteArray>> folderNames(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return std::nullopt;
    QSet<QByteArray> names;
    while (const dirent *entry = ::readdir(dir))
        names.insert(QByteArray(entry->d_name));
    ::closedir(dir);
    return names;
}
} // namespace

bool FileUtil::allExist(const QStringList &paths)
{
    QHash<QString, std::optional<QSet<QByteArray>>> folders;
    for (const QString &path : paths) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash >= 0) {
            const QString folder = path.left(slash + 1);
            auto listed = folders.find(folder);
            if (listed == folders.end())
                listed = folders.insert(folder, folderNames(folder));
            if (*listed && (*listed)->contains(QFile::encodeName(path.mid(slash + 1))))
                continue;
        }
        // Not listed under that spelling: a volume that ignores letter case may still find it.
        if (!QFileInfo::exists(path))
            return false;
    }
    return true;
}

bool FileUtil::isDirectory(const QUrl &url)
{
    const QFileInfo info(url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded));
    return info.exists() && info.isDir();
}

QUrl FileUtil::fileUrl(const QString &path)
{
    QString full = path;
    if (!full.endsWith(QLatin1Char('/')) && QFileInfo(path).isDir())
        full += QLatin1Char('/');
    return QUrl::fromLocalFile(full);
}

QString FileUtil::hiddenPathBeside(const QString &target, const QString &suffix)
{
    const QFileInfo info(target);
    const QString random = randomString(8);
    QString name = QStringLiteral(".%1.%2.%3").arg(info.fileName(), random, suffix);
    if (QFile::encodeName(name).size() > 255)
        name = QStringLiteral(".%1.%2").arg(random, suffix);
    return appendPath(info.absolutePath(), name);
}

bool FileUtil::writeScratchFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
        file.flush())
        return true;
    file.remove();
    return false;
}

QString randomString(int length)
{
    static const char alphabet[] = "1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString text;
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(62)]);
    return text;
}
