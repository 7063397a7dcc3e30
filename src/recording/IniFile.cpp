#include "recording/IniFile.h"

#include "recording/ShiftJisCodec.h"

#include "platform/BoundedFileReader.h"
#include "platform/PlatformError.h"

#include <QRegularExpression>

namespace {

// Trims tabs and every Unicode space separator (the ideographic space U+3000 included) from both ends.
QString trimBlanks(QStringView text)
{
    const auto isBlank = [](QChar c) { return c == u'\t' || c.category() == QChar::Separator_Space; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

} // namespace

void IniFile::load(const QString &path)
{
    const auto contents =
        BoundedFileReader::readFile(path, MAX_FILE_BYTES, BoundedFileReader::Oversize::Refuse);
    if (!contents.ok())
        return;
    const auto text = ShiftJisCodec::decode(contents.bytes);
    if (!text)
        return;
    loadText(*text);
}

void IniFile::loadText(const QString &text)
{
    // Any line break ends a line: LF, CR, CR LF and the Unicode line and paragraph separators.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\n\r\x0B\x0C\u0085\u2028\u2029]"));
    QString section;
    for (const QString &line : text.split(lineBreak)) {
        const QString t = trimBlanks(line);
        if (t.startsWith(u'[') && t.endsWith(u']')) {
            section = t;
            continue;
        }
        const qsizetype eq = t.indexOf(u'=');
        if (eq < 0)
            continue;
        map.insert(section + trimBlanks(QStringView(t).left(eq)), trimBlanks(QStringView(t).mid(eq + 1)));
    }
}

QString IniFile::value(const QString &section, const QString &key) const
{
    const auto it = map.constFind(u'[' + section + u']' + key);
    if (it == map.constEnd())
        throw PlatformError(QStringLiteral("指定されたキーが見つかりません: %1 %2").arg(section, key), -1);
    return it.value();
}
