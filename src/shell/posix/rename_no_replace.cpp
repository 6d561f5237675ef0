#include "shell/posix/rename_no_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/system_error.h"

namespace trelik {

std::error_code RenameNoReplace(int oldDir, const std::string& oldName, int newDir,
                                const std::string& newName) {
  if (::renameat2(oldDir, oldName.c_str(), newDir, newName.c_str(), RENAME_NOREPLACE) == 0) {
    return {};
  }
  if (errno != EINVAL && errno != ENOSYS) return LastSystemError();
  return RenameNoReplaceFallback(oldDir, oldName, newDir, newName);
}

std::error_code RenameNoReplaceFallback(int oldDir, const std::string& oldName, int newDir,
                                        const std::string& newName) {
  struct stat old {};
  if (::fstatat(oldDir, oldName.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) return LastSystemError();

  if (!S_ISDIR(old.st_mode)) {
    // link(2) fails with EEXIST on a taken name, so the check and the rename are one step.
    if (::linkat(oldDir, oldName.c_str(), newDir, newName.c_str(), 0) != 0) {
      return LastSystemError();
    }
    if (::unlinkat(oldDir, oldName.c_str(), 0) == 0) return {};
    const std::error_code unlinkError = LastSystemError();
    ::unlinkat(newDir, newName.c_str(), 0);
    return unlinkError;
  }

  // Folders cannot be hard-linked. An empty folder created at the new name between this check
  // and the rename would still be replaced; no call closes that gap on such file systems.
  struct stat taken {};
  if (::fstatat(newDir, newName.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
    return std::make_error_code(std::errc::file_exists);
  }
  if (errno != ENOENT) return LastSystemError();
  if (::renameat(oldDir, oldName.c_str(), newDir, newName.c_str()) == 0) return {};
  return LastSystemError();
}

}  // namespace trelik
