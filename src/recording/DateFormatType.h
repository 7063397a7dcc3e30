// The viewer's date-format setting: month-first or year-first, 12-hour or 24-hour.
#pragma once

#include "recording/EnumCases.h"

enum class DateFormatType : int
{
    MDYAMPM = 0,
    MDY24H = 1,
    YMDAMPM = 2,
    YMD24H = 3,
};

inline constexpr auto DATE_FORMAT_TYPE_CASES = std::to_array<EnumCase<DateFormatType>>({
    {DateFormatType::MDYAMPM, "MDYAMPM"},
    {DateFormatType::MDY24H, "MDY24H"},
    {DateFormatType::YMDAMPM, "YMDAMPM"},
    {DateFormatType::YMD24H, "YMD24H"},
});

constexpr std::optional<DateFormatType> dateFormatTypeFromRaw(int raw)
{
    return enumFromRaw(DATE_FORMAT_TYPE_CASES, raw);
}
