#include "maintenance/DecimalText.h"

#include "recording/Decimal.h"

#include <cmath>

std::optional<double> DecimalText::parse(QStringView text)
{
    // One grammar for decimal text: the settings' range checks read numbers the same way.
    const std::optional<Decimal> number = Decimal::fromText(text);
    if (!number)
        return std::nullopt;
    const double value = number->toDouble();
    if (!std::isfinite(value))
        return std::nullopt;
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
