#include "shell/win32/entry_listing.h"

#include <windows.h>

#include <memory>

namespace trelik {

std::vector<std::string> ListEntries(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  const std::unique_ptr<void, decltype(&FindClose)> closeSearch(search, &FindClose);
  do {
    names.emplace_back(entry.cFileName);
  } while (FindNextFileA(search, &entry));
  return names;
}

}  // namespace trelik
