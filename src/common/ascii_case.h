#pragma once

#include <string>
#include <string_view>

namespace trelik {

// Equal but for the case of the letters A to Z: how the settings file and the Linux file-type
// store compare names. Other bytes must match exactly.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text with the letters A to Z made lowercase: a key under which such names compare equal.
std::string AsciiLowercase(std::string_view text);

}  // namespace trelik
