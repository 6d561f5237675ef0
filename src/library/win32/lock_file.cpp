#include "library/lock_file.h"

#include <windows.h>

#include "common/system_error.h"
#include "library/file_access.h"

namespace trelik {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Windows locks are mandatory: the byte the holder locks lies far past the holder's name, so that
// reading the name is never refused. Wine keeps it as a record lock of the system, which the
// Linux build takes on the same byte.
OVERLAPPED HeldByte() {
  OVERLAPPED where{};
  where.Offset = DWORD{1} << 30;
  return where;
}

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::error_code CreationFailure() {
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
    return std::make_error_code(std::errc::file_exists);
  }
  return {static_cast<int>(error), std::system_category()};
}

// Whether `path` still names the file open as `file`: another program may have removed it and
// made a new lock there.
bool IsStillNamed(HANDLE file, const std::string& path) {
  const HANDLE named = CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION held{};
  BY_HANDLE_FILE_INFORMATION found{};
  const bool same =
      GetFileInformationByHandle(file, &held) && GetFileInformationByHandle(named, &found) &&
      held.dwVolumeSerialNumber == found.dwVolumeSerialNumber &&
      held.nFileIndexHigh == found.nFileIndexHigh && held.nFileIndexLow == found.nFileIndexLow;
  CloseHandle(named);
  return same;
}

// A file deleted while others hold it open keeps its name until they close it, and a new lock
// could not be made there meanwhile: it is moved aside first, to a name of this removal's own
// (an earlier one may still be held open, and could not be replaced).
bool RemoveName(const std::string& path) {
  static unsigned removals = 0;
  const std::string aside = path + "." + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(++removals) + ".removed";
  if (!MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  DeleteFileA(aside.c_str());
  return true;
}

}  // namespace

std::string ThisMachine() {
  // Not the 15-letter upper-case NetBIOS name: under Wine the full host name is what the Linux
  // build reads on the same computer.
  char name[256] = {};
  DWORD size = sizeof name;
  return GetComputerNameExA(ComputerNamePhysicalDnsFullyQualified, name, &size)
             ? std::string(name, size)
             : std::string();
}

std::uint64_t ThisProcess() { return GetCurrentProcessId(); }

OwnLockFile::OwnLockFile(std::string path, std::string_view contents) : path_(std::move(path)) {
  const HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    failure_ = CreationFailure();
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  // Locked before it names its holder, so that whoever reads the name finds the lock held.
  OVERLAPPED held = HeldByte();
  static_cast<void>(
      LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &held));
  DWORD written = 0;
  if (!WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) ||
      written != contents.size()) {
    failure_ = LastSystemError();
    RemoveName(path_);
  }
}

OwnLockFile::~OwnLockFile() {
  if (handle_ == -1) return;
  // Removed before the lock goes with the handle: the name never stands unheld.
  if (!failure_ && IsStillNamed(Handle(handle_), path_)) RemoveName(path_);
  CloseHandle(Handle(handle_));
}

FoundLockFile::FoundLockFile(std::string path) : path_(std::move(path)) {
  // Writable where it may be, so that Wine keeps our lock as the system's write lock.
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
    file = CreateFileA(path_.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) {
    failure_ = LastSystemError();
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) {
    failure_ = LastSystemError();
    return;
  }
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
    failure_ = MakeErrorCode(FileDamage::kNotRegular);
    return;
  }
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  // FILETIME counts 100-nanosecond steps.
  age_ = std::chrono::seconds((ticks(now) - ticks(info.ftLastWriteTime)) / 10'000'000);
  char bytes[4096];
  DWORD count = 0;
  if (!ReadFile(file, bytes, sizeof bytes, &count, nullptr)) {
    failure_ = LastSystemError();
    return;
  }
  text_.assign(bytes, count);
}

FoundLockFile::~FoundLockFile() {
  if (handle_ != -1) CloseHandle(Handle(handle_));
}

std::optional<bool> FoundLockFile::IsHeld() const {
  OVERLAPPED probe = HeldByte();
  if (LockFileEx(Handle(handle_), LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &probe)) {
    probe = HeldByte();
    UnlockFileEx(Handle(handle_), 0, 1, 0, &probe);
    return false;
  }
  if (GetLastError() == ERROR_LOCK_VIOLATION) return true;
  return std::nullopt;
}

bool FoundLockFile::Remove() {
  const HANDLE file = Handle(handle_);
  OVERLAPPED mine = HeldByte();
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &mine) &&
      GetLastError() == ERROR_LOCK_VIOLATION) {
    return false;
  }
  // Taken, or the file system keeps no locks: this file is broken by us alone, if still named.
  return IsStillNamed(file, path_) && RemoveName(path_);
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
