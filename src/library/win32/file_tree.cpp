#include "library/file_tree.h"

#include <windows.h>

#include "common/path_parts.h"
#include "common/system_error.h"
#include "library/file_access.h"

namespace trelik {
namespace {

EntryKind KindOf(DWORD attributes) {
  // Junctions and symbolic links are reparse points: never entered, like links on Linux.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::kOther;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::kFolder;
  return EntryKind::kFile;
}

}  // namespace

FolderEntries ReadFolderEntries(const std::string& folder) {
  FolderEntries result;
  WIN32_FIND_DATAA found{};
  const HANDLE search =
      FindFirstFileA((AsFolder(folder, kWindowsSeparators) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {.failure = LastSystemError()};
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    result.entries.push_back(
        {name, KindOf(found.dwFileAttributes),
         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
  } while (FindNextFileA(search, &found));
  if (GetLastError() != ERROR_NO_MORE_FILES) result.failure = LastSystemError();
  FindClose(search);
  return result;
}

std::error_code RewriteFile(const std::string& path, std::string_view contents) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastSystemError();
  // A read-only file cannot be replaced; once rewritten it is the user's to write, and it is
  // read-only again only when it could not be rewritten.
  const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
  if (writable != attributes && !SetFileAttributesA(path.c_str(), writable)) {
    return LastSystemError();
  }
  const auto failure = ReplaceFileAtomically(path, contents);
  SetFileAttributesA(path.c_str(), failure ? attributes : writable);
  return failure ? failure->error : std::error_code();
}

}  // namespace trelik
