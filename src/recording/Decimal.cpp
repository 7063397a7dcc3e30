#include "recording/Decimal.h"

#include <QString>

#include <charconv>
#include <cmath>

namespace {
// Exponents past this are refused rather than risk overflowing the point's arithmetic.
constexpr int64_t MAX_EXPONENT = 1000000;

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
} // namespace

Decimal::Decimal(int64_t mantissa, int exponent)
{
    _negative = mantissa < 0;
    // The magnitude as unsigned, so that the smallest int64_t has one too.
    uint64_t magnitude = _negative ? 0 - uint64_t(mantissa) : uint64_t(mantissa);
    while (magnitude > 0) {
        _digits.insert(_digits.begin(), char('0' + magnitude % 10));
        magnitude /= 10;
    }
    _point = int64_t(_digits.size()) + exponent;
    normalise();
}

void Decimal::normalise()
{
    const size_t first = _digits.find_first_not_of('0');
    if (first == std::string::npos) {
        _digits.clear();
        _negative = false;
        _point = 0;
        return;
    }
    _digits.erase(0, first);
    _point -= int64_t(first);
    _digits.erase(_digits.find_last_not_of('0') + 1);
}

std::optional<Decimal> Decimal::fromText(QStringView text)
{
    Decimal d;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        d._negative = text[i++] == u'-';
    bool anyDigit = false;
    int64_t whole = 0;
    for (; i < text.size() && isDigit(text[i].unicode()); ++i, ++whole, anyDigit = true)
        d._digits.push_back(char(text[i].unicode()));
    if (i < text.size() && text[i] == u'.') {
        for (++i; i < text.size() && isDigit(text[i].unicode()); ++i, anyDigit = true)
            d._digits.push_back(char(text[i].unicode()));
    }
    if (!anyDigit)
        return std::nullopt;
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            negative = text[i++] == u'-';
        if (i == text.size())
            return std::nullopt;
        for (; i < text.size() && isDigit(text[i].unicode()); ++i) {
            exponent = exponent * 10 + (text[i].unicode() - u'0');
            if (exponent > MAX_EXPONENT)
                return std::nullopt;
        }
        if (negative)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;
    d._point = whole + exponent;
    d.normalise();
    return d;
}

std::optional<Decimal> Decimal::fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return std::nullopt;
    return fromText(QString::fromLatin1(buffer, end - buffer));
}

double Decimal::toDouble() const
{
    if (_digits.empty())
        return 0.0;
    const std::string text = (_negative ? "-0." : "0.") + _digits + "e" + std::to_string(_point);
    // from_chars, not strtod: the user's locale may want a comma.
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = _point > 0 ? HUGE_VAL : 0.0;
        return _negative ? -value : value;
    }
    return value;
}

std::strong_ordering operator<=>(const Decimal &a, const Decimal &b)
{
    const int signA = a._digits.empty() ? 0 : a._negative ? -1 : 1;
    const int signB = b._digits.empty() ? 0 : b._negative ? -1 : 1;
    if (signA != signB || signA == 0)
        return signA <=> signB;
    // Same sign: the larger magnitude has the higher point, or at the same point the larger digits;
    // the digit texts compare as they stand, as neither has trailing zeros.
    std::strong_ordering magnitude = a._point <=> b._point;
    if (magnitude == 0)
        magnitude = a._digits.compare(b._digits) <=> 0;
    return signA > 0 ? magnitude : 0 <=> magnitude;
}
