#include "shell/posix/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "common/system_error.h"

namespace trelik {

UniqueFd OpenFolderAt(int parent, const std::string& name) {
  return UniqueFd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

std::error_code ReadFolderNames(int folder, std::vector<std::string>& names) {
  // The stream takes over the descriptor it is given, so it gets a duplicate.
  const int duplicate = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
  if (duplicate < 0) return LastSystemError();
  std::unique_ptr<DIR, int (*)(DIR*)> stream(::fdopendir(duplicate), ::closedir);
  if (!stream) {
    const std::error_code error = LastSystemError();
    ::close(duplicate);
    return error;
  }
  ::rewinddir(stream.get());
  for (;;) {
    errno = 0;  // readdir tells the end from a failure only by errno
    const dirent* entry = ::readdir(stream.get());
    if (entry == nullptr) return errno == 0 ? std::error_code() : LastSystemError();
    names.emplace_back(entry->d_name);
  }
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace trelik
