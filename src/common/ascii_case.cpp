#include "common/ascii_case.h"

#include <cstddef>

namespace trelik {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // From the end: names looked up among each other mostly share their beginning
  // (the file types' common start), so a mismatch shows at once there.
  for (std::size_t i = a.size(); i-- > 0;) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string AsciiLowercase(std::string_view text) {
  std::string lowercase(text);
  for (char& c : lowercase) c = AsciiLower(c);
  return lowercase;
}

}  // namespace trelik
