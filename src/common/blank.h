#pragma once

#include <string_view>

namespace trelik {

// A space or a control character: what the name rules trim from either end of a name.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

inline std::string_view TrimBlanksRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

inline std::string_view TrimBlanksLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace trelik
