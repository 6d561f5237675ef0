#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trelik {

// Reads a stored value as a 32-bit integer: leading spaces, an optional sign, then decimal digits
// or hexadecimal digits after "$", "x", "X", "0x" or "0X", and nothing after the digits.
// Empty when the value is not such an integer, is out of range, or has more than 8 significant
// hexadecimal digits.
std::optional<std::int32_t> ParseStoredInteger(std::string_view value);

// A stored flag: true when the value reads as an integer other than 0, `defaultValue` when it
// does not read as an integer.
bool FlagFromText(std::string_view value, bool defaultValue);

}  // namespace trelik
