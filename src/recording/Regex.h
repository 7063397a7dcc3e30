// A compiled case-insensitive regular expression that lists every match in a text.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <optional>

class Regex
{
public:
    // Case-insensitive; \w and friends take Unicode letters and digits, as the camera software's engine did.
    explicit Regex(const QString &pattern);

    // The text of every match in order, searching the whole input; none (not an empty list) when nothing
    // matches or the pattern did not compile.
    std::optional<QStringList> matches(const QString &input) const;
    bool isValid() const { return internalRegexp.isValid(); }

    QRegularExpression internalRegexp;
    QString pattern;
};
