// Numbers typed into the settings dialogs: parsing and the two-decimal display.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

class DecimalText
{
public:
    DecimalText() = delete;

    // The whole text as a decimal number (Decimal::fromText: a point, independent of the user's locale;
    // no "nan", "inf", hexadecimal or spaces), as the nearest double. Values too large for a double
    // are not numbers.
    static std::optional<double> parse(QStringView text);
    // value rounded to hundredths, halves away from zero, shown with two decimals ("0.45").
    static QString hundredths(double value);
    // A whole number without decimals, any other value as the shortest text that reads back the same.
    static QString plain(double value);
};
