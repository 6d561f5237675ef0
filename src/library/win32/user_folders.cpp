#include "library/user_folders.h"

#include <windows.h>
// The shell's headers build on the declarations above.
#include <shlobj.h>

#include <vector>

#include "common/path_parts.h"

namespace trelik {
namespace {

std::string ShellFolder(int folder) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

// Calls `get` with a buffer and its size, growing the buffer as the call asks; empty on failure.
template <typename Get>
std::string Grown(Get get) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = get(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

// The whole text in capitals as file names compare, non-ASCII letters included.
std::string Capitals(const std::string& text) {
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return text;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  std::string result(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), size,
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, result.data(), static_cast<int>(result.size()),
                      nullptr, nullptr);
  return result;
}

}  // namespace

UserFolders CurrentUserFolders() {
  return {.home = ShellFolder(CSIDL_PROFILE), .desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY)};
}

std::string ComparablePath(const std::string& path) {
  std::string full = Grown([&path](char* buffer, DWORD size) {
    return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
  });
  if (full.empty()) full = path;
  const std::string longName = Grown(
      [&full](char* buffer, DWORD size) { return GetLongPathNameA(full.c_str(), buffer, size); });
  return Capitals(
      WithoutTrailingSeparators(longName.empty() ? full : longName, kWindowsSeparators));
}

bool IsFileSystemRoot(const std::string& folder) {
  char volume[MAX_PATH] = {};
  return GetVolumePathNameA(folder.c_str(), volume, MAX_PATH) &&
         ComparablePath(volume) == ComparablePath(folder);
}

}  // namespace trelik
