#include "library/file_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/system_error.h"

namespace trelik {

FileClaim::FileClaim(const std::string& path) {
  // Non-blocking, so that a pipe given in place of a file cannot hang the program.
  const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) {
    failure_ = LastSystemError();
    return;
  }
  handle_ = file;
  if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
    failure_ = errno == EWOULDBLOCK ? std::make_error_code(std::errc::device_or_resource_busy)
                                    : LastSystemError();
    return;
  }
  // The lock may have come just after another holder deleted or replaced the file: it then
  // holds a file that no longer has this name.
  struct stat held {};
  struct stat named {};
  if (::fstat(file, &held) != 0 || ::stat(path.c_str(), &named) != 0 ||
      held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
    failure_ = std::make_error_code(std::errc::no_such_file_or_directory);
  }
}

FileClaim::~FileClaim() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

}  // namespace trelik
