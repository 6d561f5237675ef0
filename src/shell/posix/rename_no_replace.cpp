#include "shell/posix/rename_no_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace trelik {

bool RenameNoReplace(int oldDir, const std::string& oldName, int newDir,
                     const std::string& newName) {
  if (::renameat2(oldDir, oldName.c_str(), newDir, newName.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  return RenameNoReplaceFallback(oldDir, oldName, newDir, newName);
}

bool RenameNoReplaceFallback(int oldDir, const std::string& oldName, int newDir,
                             const std::string& newName) {
  struct stat old {};
  if (::fstatat(oldDir, oldName.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) return false;

  if (!S_ISDIR(old.st_mode)) {
    // link(2) fails with EEXIST on a taken name, so the check and the rename are one step.
    if (::linkat(oldDir, oldName.c_str(), newDir, newName.c_str(), 0) != 0) return false;
    if (::unlinkat(oldDir, oldName.c_str(), 0) == 0) return true;
    const int unlinkError = errno;
    ::unlinkat(newDir, newName.c_str(), 0);
    errno = unlinkError;
    return false;
  }

  // Folders cannot be hard-linked. An empty folder created at the new name between this check
  // and the rename would still be replaced; no call closes that gap on such file systems.
  struct stat taken {};
  if (::fstatat(newDir, newName.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return false;
  }
  if (errno != ENOENT) return false;
  return ::renameat(oldDir, oldName.c_str(), newDir, newName.c_str()) == 0;
}

}  // namespace trelik
