#include "library/posix/folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "common/path_parts.h"
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

FoldersMade CreateMissingFolders(const std::string& folder, mode_t mode) {
  FoldersMade result;
  std::vector<std::string> missing;  // deepest first
  for (std::string path = folder; !path.empty();) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) break;
    // Below a file or a folder that cannot be searched nothing can be made.
    if (errno != ENOENT && missing.empty()) return {{}, LastSystemError(), path};
    if (errno != ENOENT) break;
    missing.push_back(path);
    const std::string parent = WithoutTrailingSeparators(
        DirectoryPart(WithoutTrailingSeparators(path, kPosixSeparators), kPosixSeparators),
        kPosixSeparators);
    if (parent == path) break;
    path = parent;
  }
  for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
    if (::mkdir(path->c_str(), mode) == 0) {
      result.made.push_back(*path);
    } else if (errno != EEXIST) {
      return {std::move(result.made), LastSystemError(), *path};
    }
  }
  return result;
}

}  // namespace trelik
