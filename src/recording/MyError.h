// The recording model's own error enum; kept for its raw value, nothing raises it.
#pragma once

#include "recording/EnumCases.h"

enum class MyError : int
{
    FormatException = 0,
};

inline constexpr auto MY_ERROR_CASES = std::to_array<EnumCase<MyError>>({
    {MyError::FormatException, "FormatException"},
});

constexpr std::optional<MyError> myErrorFromRaw(int raw)
{
    return enumFromRaw(MY_ERROR_CASES, raw);
}
