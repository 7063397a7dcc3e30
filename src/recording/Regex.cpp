#include "recording/Regex.h"

Regex::Regex(const QString &pattern)
    : internalRegexp(pattern, QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::UseUnicodePropertiesOption),
      pattern(pattern)
{
}

std::optional<QStringList> Regex::matches(const QString &input) const
{
    if (!internalRegexp.isValid())
        return std::nullopt;
    QStringList found;
    auto it = internalRegexp.globalMatch(input);
    while (it.hasNext())
        found.append(it.next().captured(0));
    if (found.isEmpty())
        return std::nullopt;
    return found;
}
