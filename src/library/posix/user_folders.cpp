#include "library/user_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "common/path_parts.h"
#include "library/file_access.h"
#include "library/posix/user_dirs.h"

namespace trelik {
namespace {

// Larger than any user-dirs.dirs a person writes.
constexpr std::size_t kUserDirsLimit = 65536;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

}  // namespace

UserFolders CurrentUserFolders() {
  const XdgFolders xdg = XdgFoldersFromEnvironment();
  UserFolders folders{.home = xdg.home};
  const FileRead userDirs = ReadFileStart(xdg.configHome + "/user-dirs.dirs", kUserDirsLimit);
  const std::string desktop = Variable("XDG_DESKTOP_DIR");
  folders.desktop =
      UserDirsFolder(userDirs.failure ? "" : userDirs.bytes, "XDG_DESKTOP_DIR", folders.home)
          .value_or(desktop.starts_with('/') ? desktop : folders.home + "/Desktop");
  return folders;
}

std::string ComparablePath(const std::string& path) {
  const std::string trimmed = WithoutTrailingSeparators(path, kPosixSeparators);
  char resolved[PATH_MAX];
  if (::realpath(trimmed.c_str(), resolved) != nullptr) return resolved;
  const std::string parent = DirectoryPart(trimmed, kPosixSeparators);
  if (parent.empty() || parent == trimmed) return trimmed;
  return JoinPath(ComparablePath(parent), FileNamePart(trimmed, kPosixSeparators),
                  kPosixSeparators);
}

bool IsFileSystemRoot(const std::string& folder) {
  struct statx info {};
  if (::statx(AT_FDCWD, folder.c_str(), 0, STATX_INO, &info) == 0 &&
      (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0) {
    return (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
  }
  // Kernels before 5.8 do not say: a mount point lies on another device than its parent.
  struct stat own {};
  struct stat parent {};
  return ::stat(folder.c_str(), &own) == 0 &&
         ::stat(AsFolder(folder, kPosixSeparators).append("..").c_str(), &parent) == 0 &&
         (own.st_dev != parent.st_dev || own.st_ino == parent.st_ino);
}

}  // namespace trelik
