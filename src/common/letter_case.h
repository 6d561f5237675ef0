#pragma once

#include <string_view>

namespace trelik {

// Equal regardless of letter case as the platform's own lists see names: ASCII letters in any
// bytes, every letter in text that is valid UTF-8. Names from the file system may be neither.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace trelik
