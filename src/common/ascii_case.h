#pragma once

#include <string_view>

namespace trelik {

// Equal but for the case of the letters A to Z: how the settings file, the Linux file-type
// store and the headless lists compare names. Other bytes must match exactly.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace trelik
