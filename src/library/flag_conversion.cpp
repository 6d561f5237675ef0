#include "library/flag_conversion.h"

namespace trelik {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  for (const char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * 16 + static_cast<unsigned>(digit);
    if (magnitude > 0xFFFFFFFFu) return std::nullopt;  // more than 8 significant digits
  }
  return static_cast<std::uint32_t>(magnitude);
}

std::optional<std::int64_t> ParseDecimalDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return std::nullopt;
  }
  return magnitude;
}

}  // namespace

std::optional<std::int32_t> ParseStoredInteger(std::string_view value) {
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  bool negative = false;
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }

  std::string_view hexDigits;
  bool hexadecimal = true;
  if (value.starts_with('$') || value.starts_with('x') || value.starts_with('X')) {
    hexDigits = value.substr(1);
  } else if (value.starts_with("0x") || value.starts_with("0X")) {
    hexDigits = value.substr(2);
  } else {
    hexadecimal = false;
  }

  if (hexadecimal) {
    // Hexadecimal values wrap into the signed range: $FFFFFFFF reads as -1.
    const auto bits = ParseHexDigits(hexDigits);
    if (!bits) return std::nullopt;
    const auto result = static_cast<std::int32_t>(*bits);
    return negative ? static_cast<std::int32_t>(0u - *bits) : result;
  }

  const auto magnitude = ParseDecimalDigits(value);
  if (!magnitude) return std::nullopt;
  const std::int64_t signedValue = negative ? -*magnitude : *magnitude;
  if (signedValue > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(signedValue);
}

// A value beginning "0x" needs no rewriting to "$" first: the integer reading takes both.
bool FlagFromText(std::string_view value, bool defaultValue) {
  const auto number = ParseStoredInteger(value);
  return number ? *number != 0 : defaultValue;
}

}  // namespace trelik
