#include "shell/posix/rename_no_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/system_error.h"

namespace trelik {
namespace {

// Refusals of link(2) by file systems that have no hard links at all.
bool HasNoLinks(const std::error_code& error) {
  return error == std::errc::operation_not_permitted ||
         error == std::errc::operation_not_supported || error == std::errc::function_not_supported;
}

// Renames after checking that the new name is free. An entry made at the new name between the
// check and the rename would still be replaced (a file, or an empty folder); no call closes that
// gap on such file systems. Inside a staging folder nobody else writes, so there is no gap there.
std::error_code CheckThenRename(int oldDir, const std::string& oldName, int newDir,
                                const std::string& newName) {
  struct stat taken {};
  if (::fstatat(newDir, newName.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
    return std::make_error_code(std::errc::file_exists);
  }
  if (errno != ENOENT) return LastSystemError();
  if (::renameat(oldDir, oldName.c_str(), newDir, newName.c_str()) == 0) return {};
  return LastSystemError();
}

}  // namespace

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
  // Folders cannot be hard-linked.
  if (S_ISDIR(old.st_mode)) return CheckThenRename(oldDir, oldName, newDir, newName);

  // link(2) fails with EEXIST on a taken name, so the check and the rename are one step.
  if (::linkat(oldDir, oldName.c_str(), newDir, newName.c_str(), 0) != 0) {
    const std::error_code linkError = LastSystemError();
    if (HasNoLinks(linkError)) return CheckThenRename(oldDir, oldName, newDir, newName);
    return linkError;
  }
  if (::unlinkat(oldDir, oldName.c_str(), 0) == 0) return {};
  const std::error_code unlinkError = LastSystemError();
  ::unlinkat(newDir, newName.c_str(), 0);
  return unlinkError;
}

}  // namespace trelik
