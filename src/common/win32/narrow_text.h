#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trelik {

// The NUL-terminated wide text in the process code page, as every string of the program.
std::string NarrowText(const wchar_t* text);

// The text of bytes in a code page (CP_ACP, CP_UTF8), or nothing when they are not valid in it.
std::optional<std::wstring> StrictWideText(std::string_view bytes, unsigned codePage);

}  // namespace trelik
