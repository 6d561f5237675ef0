#pragma once

#include <windows.h>

#include <string>

namespace trelik {

// This program's own path as the system records it, however long: the call cuts it short
// without failing, so a full buffer means "try again with more room". `Char` picks the code-page
// (char) or wide (wchar_t) call.
template <typename Char>
std::basic_string<Char> ModulePath() {
  std::basic_string<Char> path(MAX_PATH, Char{});
  for (;;) {
    DWORD length = 0;
    if constexpr (sizeof(Char) == 1) {
      length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    } else {
      length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    }
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace trelik
