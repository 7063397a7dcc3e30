// A base-10 number held exactly, as the camera settings dialog compares its inputs: "0.10" equals
// 0.1 and ten hundredths, where doubles would carry binary rounding into the range ends.
#pragma once

#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

class Decimal
{
public:
    Decimal() = default;
    // mantissa × 10^exponent; Decimal(45, -2) is 0.45.
    explicit Decimal(int64_t mantissa, int exponent = 0);

    // The whole text as a decimal number with a point, independent of the locale: an optional sign,
    // ASCII digits with an optional fraction, an optional exponent. Anything else (spaces, "inf",
    // hexadecimal, a lone point or sign, an exponent beyond a million) is none. Every digit counts.
    static std::optional<Decimal> fromText(QStringView text);
    // The shortest decimal that reads back as value (0.1 for the double nearest 0.1); none for NaN or
    // infinity.
    static std::optional<Decimal> fromDouble(double value);

    // The nearest double; infinity or zero beyond the double's range.
    double toDouble() const;

    friend bool operator==(const Decimal &a, const Decimal &b) = default;
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b);

private:
    // Zero is no digits, not negative. Otherwise the significant digits without leading or trailing
    // zeros, and the value is 0.<digits> × 10^_point.
    bool _negative = false;
    std::string _digits;
    int64_t _point = 0;

    void normalise();
};
