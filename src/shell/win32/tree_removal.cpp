#include "shell/win32/tree_removal.h"

#include <windows.h>

#include "shell/win32/entry_listing.h"

namespace trelik {
namespace {

// The system refuses to delete read-only entries, so the flag goes first.
void ClearReadOnly(const std::string& path, DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
  SetFileAttributesA(path.c_str(), writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

bool RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  ClearReadOnly(path, attributes);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return DeleteFileA(path.c_str()) != 0;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    for (const std::string& name : ListEntries(path + "\\*")) {
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    }
  }
  return RemoveDirectoryA(path.c_str()) != 0;
}

}  // namespace trelik
