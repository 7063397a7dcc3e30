// The recording model's own error enum; kept for its raw value, nothing raises it.
#pragma once

#include <optional>

enum class MyError : int
{
    FormatException = 0,
};

constexpr std::optional<MyError> myErrorFromRaw(int raw)
{
    if (raw != 0)
        return std::nullopt;
    return MyError::FormatException;
}
