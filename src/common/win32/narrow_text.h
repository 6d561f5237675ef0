#pragma once

#include <string>

namespace trelik {

// The NUL-terminated wide text in the process code page, as every string of the program.
std::string NarrowText(const wchar_t* text);

}  // namespace trelik
