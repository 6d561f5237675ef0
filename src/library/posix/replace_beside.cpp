#include "library/posix/replace_beside.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/path_parts.h"
#include "common/posix/unique_fd.h"
#include "common/system_error.h"

namespace trelik {
namespace {

// Nothing when all was written; else why not (a disk that takes nothing more says so by
// writing nothing, without an error of its own).
std::error_code WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return LastSystemError();
    if (written == 0) return std::make_error_code(std::errc::no_space_on_device);
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace

std::optional<ReplaceFailure> ReplaceBeside(const std::string& target, std::string_view contents,
                                            mode_t mode) {
  // Part of the name is kept so that the temporary name never outgrows what the file system
  // allows.
  std::string temporary = DirectoryPart(target, kPosixSeparators) + "." +
                          FileNamePart(target, kPosixSeparators).substr(0, 64) + ".XXXXXX";
  UniqueFd file(::mkstemp(temporary.data()));
  if (!file.IsOpen()) return ReplaceFailure{LastSystemError()};
  std::error_code error = WriteAll(file.Get(), contents);
  if (!error && (::fchmod(file.Get(), mode) != 0 || ::fsync(file.Get()) != 0)) {
    error = LastSystemError();
  }
  if (error) {
    ::unlink(temporary.c_str());
    return ReplaceFailure{error, true};
  }
  file.Close();  // after fsync nothing written can be lost by close any more
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error = LastSystemError();
    ::unlink(temporary.c_str());
    return ReplaceFailure{error};
  }
  return std::nullopt;
}

}  // namespace trelik
