#include "library/file_access.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/path_parts.h"
#include "common/system_error.h"
#include "common/win32/file_handle.h"

namespace trelik {
namespace {

// The folder and any missing parents; nothing when they exist afterwards.
std::error_code CreateFolders(const std::string& folder) {
  if (folder.empty() || CreateDirectoryA(folder.c_str(), nullptr) ||
      GetLastError() == ERROR_ALREADY_EXISTS) {
    return {};
  }
  if (GetLastError() != ERROR_PATH_NOT_FOUND) return LastSystemError();
  const std::string parent =
      DirectoryPart(WithoutTrailingSeparators(folder, kWindowsSeparators), kWindowsSeparators);
  if (parent == folder) return {ERROR_PATH_NOT_FOUND, std::system_category()};
  if (const std::error_code error = CreateFolders(parent)) return error;
  if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
    return {};
  }
  return LastSystemError();
}

// Reads up to `limit` bytes; `share` says what others may do with the file meanwhile. A file of
// Trelik's own must be a file on disk of at most `limit` bytes.
FileRead ReadUpTo(const std::string& path, std::size_t limit, DWORD share, bool ownFile) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return {.failure = LastSystemError()};
  if (ownFile && GetFileType(file.Get()) != FILE_TYPE_DISK) {
    return {.failure = MakeErrorCode(FileDamage::kNotRegular)};
  }
  LARGE_INTEGER size{};
  if (ownFile && GetFileSizeEx(file.Get(), &size) &&
      static_cast<std::uint64_t>(size.QuadPart) > limit) {
    return {.failure = MakeErrorCode(FileDamage::kTooLarge)};
  }
  const std::size_t wanted = ownFile ? limit + 1 : limit;  // one more shows a file that grew
  FileRead read;
  char buffer[65536];
  while (read.bytes.size() < wanted) {
    DWORD count = 0;
    if (!ReadFile(file.Get(), buffer,
                  static_cast<DWORD>(std::min(sizeof buffer, wanted - read.bytes.size())), &count,
                  nullptr)) {
      return {.failure = LastSystemError()};
    }
    if (count == 0) break;
    read.bytes.append(buffer, count);
  }
  if (read.bytes.size() > limit) return {.failure = MakeErrorCode(FileDamage::kTooLarge)};
  return read;
}

}  // namespace

FileRead ReadWholeFile(const std::string& path) {
  return ReadUpTo(path, kOwnFileLimit, FILE_SHARE_READ, true);
}

FileRead ReadFileStart(const std::string& path, std::size_t limit) {
  return ReadUpTo(path, limit, FILE_SHARE_READ | FILE_SHARE_WRITE, false);
}

bool IsMissingFile(const std::error_code& failure) {
  return failure.category() == std::system_category() &&
         (failure.value() == ERROR_FILE_NOT_FOUND || failure.value() == ERROR_PATH_NOT_FOUND);
}

std::optional<ReplaceFailure> ReplaceFileAtomically(const std::string& path,
                                                    std::string_view contents) {
  const std::string folder = DirectoryPart(path, kWindowsSeparators);
  if (const std::error_code error = CreateFolders(folder)) return ReplaceFailure{error};
  std::vector<char> temporary(MAX_PATH + 1);
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "trk", 0, temporary.data()) == 0) {
    return ReplaceFailure{LastSystemError()};
  }
  FileHandle file(CreateFileA(temporary.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const std::error_code error = LastSystemError();
    DeleteFileA(temporary.data());
    return ReplaceFailure{error};
  }
  DWORD written = 0;
  std::error_code error;
  if (!contents.empty() && !WriteFile(file.Get(), contents.data(),
                                      static_cast<DWORD>(contents.size()), &written, nullptr)) {
    error = LastSystemError();
  } else if (written != contents.size()) {
    error = {ERROR_DISK_FULL, std::system_category()};
  } else if (!FlushFileBuffers(file.Get())) {
    error = LastSystemError();
  }
  file.Close();
  if (error) {
    DeleteFileA(temporary.data());
    return ReplaceFailure{error, true};
  }
  if (!MoveFileExA(temporary.data(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastSystemError();
    DeleteFileA(temporary.data());
    return ReplaceFailure{error};
  }
  return std::nullopt;
}

std::string AbsolutePath(const std::string& path) {
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<char> buffer(size);
  const DWORD length = GetFullPathNameA(path.c_str(), size, buffer.data(), nullptr);
  return length == 0 || length >= size ? path : std::string(buffer.data(), length);
}

}  // namespace trelik
