#include "library/lock_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <ctime>

#include "common/posix/unique_fd.h"
#include "common/system_error.h"

namespace trelik {

std::error_code CreateNewFile(const std::string& path, std::string_view contents) {
  const UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!file.IsOpen()) return LastSystemError();
  if (::write(file.Get(), contents.data(), contents.size()) !=
      static_cast<ssize_t>(contents.size())) {
    const std::error_code failure = LastSystemError();
    ::unlink(path.c_str());
    return failure;
  }
  return {};
}

std::optional<std::chrono::seconds> FileAge(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::chrono::seconds(std::time(nullptr) - info.st_mtime);
}

std::string ThisMachine() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::uint64_t ThisProcess() { return static_cast<std::uint64_t>(::getpid()); }

bool IsProcessRunning(std::uint64_t process) {
  // 0 and what reads as negative would name process groups.
  if (process == 0 || process > static_cast<std::uint64_t>(INT32_MAX)) return false;
  // A process of another user may not be signalled, and still runs.
  return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

FolderAccess WriteAccess(const std::string& folder) {
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) {
    return FolderAccess::kWritable;
  }
  const int error = errno;
  struct stat info {};
  if (error == ENOENT || error == ENOTDIR || ::stat(folder.c_str(), &info) != 0) {
    return FolderAccess::kMissing;
  }
  return FolderAccess::kReadOnly;
}

}  // namespace trelik
