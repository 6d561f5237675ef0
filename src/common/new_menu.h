#pragma once

#include <string_view>

namespace trelik {

// How the desktop's New menu is named in the program's own texts: Explorer's on Windows, the
// file manager's on Linux, where several file managers offer it.
std::string_view NewMenuName();

}  // namespace trelik
