#include "library/file_access.h"

#include <windows.h>

#include <vector>

#include "common/path_parts.h"
#include "common/system_error.h"

namespace trelik {
namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (Valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

bool CreateFolders(const std::string& folder) {
  if (folder.empty() || CreateDirectoryA(folder.c_str(), nullptr) ||
      GetLastError() == ERROR_ALREADY_EXISTS) {
    return true;
  }
  if (GetLastError() != ERROR_PATH_NOT_FOUND) return false;
  const std::string parent =
      DirectoryPart(WithoutTrailingSeparators(folder, kWindowsSeparators), kWindowsSeparators);
  return parent != folder && CreateFolders(parent) &&
         (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& systemError) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    systemError = LastSystemErrorText();
    return std::nullopt;
  }
  std::string contents;
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr)) {
      systemError = LastSystemErrorText();
      return std::nullopt;
    }
    if (count == 0) return contents;
    contents.append(buffer, count);
  }
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit,
                                         std::string& systemError) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string contents(limit, '\0');
  DWORD count = 0;
  if (!file.Valid() ||
      !ReadFile(file.Get(), contents.data(), static_cast<DWORD>(limit), &count, nullptr)) {
    systemError = LastSystemErrorText();
    return std::nullopt;
  }
  contents.resize(count);
  return contents;
}

ReplaceOutcome ReplaceFileAtomically(const std::string& path, std::string_view contents,
                                     std::string& systemError) {
  const std::string folder = DirectoryPart(path, kWindowsSeparators);
  std::vector<char> temporary(MAX_PATH + 1);
  if (!CreateFolders(folder) ||
      GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "trk", 0, temporary.data()) == 0) {
    systemError = LastSystemErrorText();
    return ReplaceOutcome::kCannotCreate;
  }
  FileHandle file(CreateFileA(temporary.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    systemError = LastSystemErrorText();
    DeleteFileA(temporary.data());
    return ReplaceOutcome::kCannotCreate;
  }
  DWORD written = 0;
  const bool complete =
      (contents.empty() || (WriteFile(file.Get(), contents.data(),
                                      static_cast<DWORD>(contents.size()), &written, nullptr) &&
                            written == contents.size())) &&
      FlushFileBuffers(file.Get());
  if (!complete) systemError = LastSystemErrorText();
  file.Close();
  if (!complete) {
    DeleteFileA(temporary.data());
    return ReplaceOutcome::kShortWrite;
  }
  if (!MoveFileExA(temporary.data(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    systemError = LastSystemErrorText();
    DeleteFileA(temporary.data());
    return ReplaceOutcome::kCannotCreate;
  }
  return ReplaceOutcome::kReplaced;
}

std::string AbsolutePath(const std::string& path) {
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<char> buffer(size);
  const DWORD length = GetFullPathNameA(path.c_str(), size, buffer.data(), nullptr);
  return length == 0 || length >= size ? path : std::string(buffer.data(), length);
}

}  // namespace trelik
