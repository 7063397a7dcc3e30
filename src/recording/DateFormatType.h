// The viewer's date-format setting: month-first or year-first, 12-hour or 24-hour.
#pragma once

#include <optional>

enum class DateFormatType : int
{
    MDYAMPM = 0,
    MDY24H = 1,
    YMDAMPM = 2,
    YMD24H = 3,
};

// None for a raw value outside 0...3.
constexpr std::optional<DateFormatType> dateFormatTypeFromRaw(int raw)
{
    if (raw < 0 || raw > 3)
        return std::nullopt;
    return static_cast<DateFormatType>(raw);
}
