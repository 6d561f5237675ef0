// Stored integers and flags: a value reads as an integer exactly when it has the documented
// shape and fits, the number is the one it spells, and the flag follows the number.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "library/flag_conversion.h"

namespace {

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The number the value spells by the documented grammar, computed in a wider type; nullopt
// when the value does not have that shape or does not fit.
std::optional<std::int64_t> ExpectedInteger(std::string_view value) {
  while (value.starts_with(' ')) value.remove_prefix(1);
  const bool negative = value.starts_with('-');
  if (negative || value.starts_with('+')) value.remove_prefix(1);
  bool hex = true;
  if (value.starts_with("0x") || value.starts_with("0X")) {
    value.remove_prefix(2);
  } else if (value.starts_with('$') || value.starts_with('x') || value.starts_with('X')) {
    value.remove_prefix(1);
  } else {
    hex = false;
  }
  if (value.empty()) return std::nullopt;
  for (const char c : value) {
    if (!(hex ? IsHex(c) : IsDecimal(c))) return std::nullopt;
  }
  while (value.size() > 1 && value.front() == '0') value.remove_prefix(1);
  if (value.size() > (hex ? 8 : 10)) return std::nullopt;
  const std::int64_t magnitude = std::stoll(std::string(value), nullptr, hex ? 16 : 10);
  if (hex) {
    // Eight hexadecimal digits are the 32 bits of the number, so they wrap into the signed range.
    const auto bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
  }
  const std::int64_t number = negative ? -magnitude : magnitude;
  if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
  return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> number = trelik::ParseStoredInteger(value);
  const std::optional<std::int64_t> expected = ExpectedInteger(value);
  FUZZ_CHECK(number.has_value() == expected.has_value());
  if (number) FUZZ_CHECK(*number == *expected);

  for (const bool defaultValue : {false, true}) {
    FUZZ_CHECK(trelik::FlagFromText(value, defaultValue) == (number ? *number != 0 : defaultValue));
  }

  if (number) {
    // What the settings file would hold for that number reads back as it.
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(*number));
    FUZZ_CHECK(trelik::ParseStoredInteger(std::to_string(*number)) == number);
    FUZZ_CHECK(trelik::ParseStoredInteger(hex) == number);
  }
  return 0;
}
