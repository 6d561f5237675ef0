#include "library/lock_file.h"

#include <windows.h>

#include "common/system_error.h"

namespace trelik {
namespace {

std::error_code CreationFailure() {
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
    return std::make_error_code(std::errc::file_exists);
  }
  return {static_cast<int>(error), std::system_category()};
}

}  // namespace

std::error_code CreateNewFile(const std::string& path, std::string_view contents) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return CreationFailure();
  DWORD written = 0;
  const bool whole =
      WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
      written == contents.size();
  const std::error_code failure = whole ? std::error_code() : LastSystemError();
  CloseHandle(file);
  if (failure) DeleteFileA(path.c_str());
  return failure;
}

std::optional<std::chrono::seconds> FileAge(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  // FILETIME counts 100-nanosecond steps.
  return std::chrono::seconds((ticks(now) - ticks(data.ftLastWriteTime)) / 10'000'000);
}

std::string ThisMachine() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::uint64_t ThisProcess() { return GetCurrentProcessId(); }

bool IsProcessRunning(std::uint64_t process) {
  const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process));
  if (handle == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
  CloseHandle(handle);
  return running;
}

// A folder's read-only attribute does not stop files being made in it, so a file is tried.
FolderAccess WriteAccess(const std::string& folder) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return FolderAccess::kMissing;
  }
  const std::string probe = folder + "\\.trelik-probe-" + std::to_string(GetCurrentProcessId());
  const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_FILE_EXISTS ? FolderAccess::kWritable : FolderAccess::kReadOnly;
  }
  CloseHandle(file);
  return FolderAccess::kWritable;
}

}  // namespace trelik
