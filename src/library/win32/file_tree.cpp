#include "library/file_tree.h"

#include <windows.h>

#include <vector>

#include "common/path_parts.h"
#include "common/system_error.h"

namespace trelik {
namespace {

EntryKind KindOf(DWORD attributes) {
  // Junctions and symbolic links are reparse points: never entered, like links on Linux.
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::kOther;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::kFolder;
  return EntryKind::kFile;
}

std::error_code WriteTemporary(const std::string& temporary, std::string_view contents) {
  const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastSystemError();
  std::error_code error;
  DWORD written = 0;
  if (!contents.empty() &&
      !WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr)) {
    error = LastSystemError();
  } else if (written != contents.size()) {
    error = {ERROR_DISK_FULL, std::system_category()};
  } else if (!FlushFileBuffers(file)) {
    error = LastSystemError();
  }
  CloseHandle(file);
  return error;
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
  const std::string folder = DirectoryPart(path, kWindowsSeparators);
  std::vector<char> temporary(MAX_PATH + 1);
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "trk", 0, temporary.data()) == 0) {
    return LastSystemError();
  }
  std::error_code error = WriteTemporary(temporary.data(), contents);
  // A read-only file cannot be replaced; once rewritten it is the user's to write, and it is
  // read-only again only when it could not be rewritten.
  const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
  if (!error && writable != attributes && !SetFileAttributesA(path.c_str(), writable)) {
    error = LastSystemError();
  }
  if (!error && !MoveFileExA(temporary.data(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastSystemError();
  }
  if (error) DeleteFileA(temporary.data());
  SetFileAttributesA(path.c_str(), error ? attributes : writable);
  return error;
}

}  // namespace trelik
