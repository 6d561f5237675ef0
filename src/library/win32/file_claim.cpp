#include "library/file_claim.h"

#include <windows.h>

#include "common/system_error.h"

namespace trelik {
namespace {

// Windows locks are mandatory: the locked byte lies far past any launcher's content, so that
// reading the file through another handle is never refused.
constexpr DWORD kLockedOffsetHigh = 0x40000000;

}  // namespace

FileClaim::FileClaim(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    failure_ = LastSystemError();
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  OVERLAPPED where{};
  where.OffsetHigh = kLockedOffsetHigh;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
    failure_ = GetLastError() == ERROR_LOCK_VIOLATION
                   ? std::make_error_code(std::errc::device_or_resource_busy)
                   : LastSystemError();
  }
}

FileClaim::~FileClaim() {
  // Closing the handle releases the lock.
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace trelik
