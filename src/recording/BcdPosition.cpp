#include "recording/BcdPosition.h"

#include "platform/PlatformError.h"

namespace {

const QString NOT_A_NUMBER = QStringLiteral("数値に変換できません。");

int64_t combine(int64_t degrees, int64_t minutes, int64_t tenths)
{
    return degrees * 3600000 + minutes * 60000 + tenths * 100;
}

} // namespace

std::vector<int> BcdPosition::splitDigits(const QString &text)
{
    std::vector<int> digits;
    digits.reserve(size_t(text.size()));
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw PlatformError(NOT_A_NUMBER, 0);
        digits.push_back(c.unicode() - '0');
    }
    return digits;
}

int64_t BcdPosition::convertLongitude(const QString &longitude)
{
    const std::vector<int> d = splitDigits(longitude);
    if (d.size() < 8)
        throw PlatformError(NOT_A_NUMBER, 0);
    return combine(100 * d[0] + 10 * d[1] + d[2], 10 * d[3] + d[4], 100 * d[5] + 10 * d[6] + d[7]);
}

int64_t BcdPosition::convertLatitude(const QString &latitude)
{
    const std::vector<int> d = splitDigits(latitude);
    if (d.size() < 7)
        throw PlatformError(NOT_A_NUMBER, 0);
    return combine(10 * d[0] + d[1], 10 * d[2] + d[3], 100 * d[4] + 10 * d[5] + d[6]);
}
