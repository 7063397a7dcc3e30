#include "recording/VersionInfo.h"

#include "recording/FileUtil.h"

#include "platform/BoundedFileReader.h"
#include "platform/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

namespace {

const QString UNKNOWN_VERSION = QStringLiteral("バージョン情報が不明です。");

} // namespace

VersionInfo::VersionInfo(TargetType target, QString versionString)
    : _target(target), _versionString(std::move(versionString))
{
}

VersionInfo VersionInfo::fallback()
{
    return VersionInfo(TargetType::Gyomu12, Gyomu12TargetCode);
}

TargetType VersionInfo::getTargetType(const QString &targetCode)
{
    if (targetCode == CommonTargetCode)
        return TargetType::Common;
    if (targetCode == Gyomu12TargetCode)
        return TargetType::Gyomu12;
    throw PlatformError(QStringLiteral("未定義の向け先番号です: %1").arg(targetCode), -1);
}

QString VersionInfo::getTargetCode(TargetType target)
{
    switch (target) {
    case TargetType::Common:
        return CommonTargetCode;
    case TargetType::Gyomu12:
        return Gyomu12TargetCode;
    case TargetType::None:
        break;
    }
    return QStringLiteral("XXX");
}

QString VersionInfo::getTargetName(TargetType target, FormUtil::AppTarget appTarget)
{
    if (appTarget == FormUtil::AppTarget::Common) {
        if (target == TargetType::Common)
            return QStringLiteral("Pellor-3");
        if (target == TargetType::Gyomu12)
            return QStringLiteral("Pellor-4");
    }
    return QStringLiteral("不明な向け先");
}

double VersionInfo::binaryToGValue(long long bits) const
{
    return bits == 0 ? 0.0 : double(bits) / 1000.0;
}

VersionInfo VersionInfo::check(const QString &reader)
{
    // Characters are the ones a reader sees: a pair of surrogates, or a digit with a combining mark, is
    // one character.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, reader);
    qsizetype codeEnd = 0;
    for (int count = 0; count < 3; ++count) {
        if (codeEnd >= reader.size())
            throw PlatformError(UNKNOWN_VERSION, -1);
        codeEnd = graphemes.toNextBoundary();
        if (codeEnd < 0)
            throw PlatformError(UNKNOWN_VERSION, -1);
    }
    return VersionInfo(getTargetType(reader.left(codeEnd)), reader);
}

VersionInfo VersionInfo::check(const std::optional<QUrl> &dir)
{
    if (!dir)
        return fallback();
    const QString folder = dir->toLocalFile();
    const QString verPath = QDir(folder).filePath(QStringLiteral("ver.txt"));
    try {
        if (FileUtil::isDirectory(QUrl::fromLocalFile(verPath)))
            throw PlatformError(UNKNOWN_VERSION, -1);
        // The file holds one short line; a larger one, or a FIFO or device in its place, is not read.
        constexpr qint64 MAX_VERSION_FILE_BYTES = 64 * 1024;
        const auto contents =
            BoundedFileReader::readFile(verPath, MAX_VERSION_FILE_BYTES, BoundedFileReader::Oversize::Refuse);
        if (!contents.ok())
            throw PlatformError(UNKNOWN_VERSION, -1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(contents.bytes);
        if (utf8.hasError())
            throw PlatformError(UNKNOWN_VERSION, -1);
        // First line only; any line break ends it.
        qsizetype end = 0;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r' && text[end] != QChar(0x2028) &&
               text[end] != QChar(0x2029) && text[end] != QChar(0x85))
            ++end;
        return check(text.left(end));
    } catch (const PlatformError &) {
        if (FileUtil::isDirectory(QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("SETINF.DAT")))))
            throw PlatformError(UNKNOWN_VERSION, -1);
        return fallback();
    }
}
