#include "maintenance/DecimalText.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <string>

std::optional<double> DecimalText::parse(QStringView text)
{
    // The grammar is checked first: from_chars alone would also take "inf", "nan" and "1e".
    static const QRegularExpression grammar(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!grammar.match(text).hasMatch()) {
        return std::nullopt;
    }
    std::string ascii = text.toLatin1().toStdString();
    if (ascii.front() == '+') {
        ascii.erase(0, 1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString DecimalText::hundredths(double value)
{
    return QString::asprintf("%0.2f", std::round(value * 100.0) / 100.0);
}

QString DecimalText::plain(double value)
{
    if (value == std::trunc(value) && std::abs(value) < 1e15) {
        return QString::number(static_cast<long long>(value));
    }
    return QString::number(value, 'g', 17);
}
