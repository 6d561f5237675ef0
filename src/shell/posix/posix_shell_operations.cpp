#include "shell/posix/posix_shell_operations.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "common/posix/unique_fd.h"
#include "library/posix/folders.h"
#include "shell/posix/folder_copy.h"
#include "shell/posix/process.h"
#include "shell/posix/rename_no_replace.h"
#include "shell/posix/tree_removal.h"

namespace trelik {

PosixShellOperations::PosixShellOperations(FolderPicker pickFolder,
                                           AssociationsChangedHandler onAssociationsChanged,
                                           CopyProgressCallback onCopyProgress)
    : pickFolder_(std::move(pickFolder)),
      onAssociationsChanged_(std::move(onAssociationsChanged)),
      onCopyProgress_(std::move(onCopyProgress)) {}

CopyResult PosixShellOperations::CopyFolder(NativeWindow /*owner*/, const std::string& source,
                                            const std::string& destDir, const CopyFinish& finish,
                                            const std::string& wantedName) {
  return CopyFolderTree(source, destDir, onCopyProgress_, finish, wantedName);
}

bool PosixShellOperations::BrowseForFolder(const std::string& title, std::string& folder) {
  return pickFolder_ && pickFolder_(title, folder);
}

std::error_code PosixShellOperations::RenamePath(const std::string& oldPath,
                                                 const std::string& newPath) {
  return RenameNoReplace(AT_FDCWD, oldPath, AT_FDCWD, newPath);
}

bool PosixShellOperations::RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool PosixShellOperations::RemoveFolder(const std::string& path) {
  return RemoveTree(AT_FDCWD, path);
}

void PosixShellOperations::ShellOpen(NativeWindow /*owner*/, const std::string& /*verb*/,
                                     const std::string& target, ShowCommand /*show*/) {
  StartDetached({"xdg-open", target});
}

std::vector<std::string> PosixShellOperations::ListFolder(const std::string& pattern) {
  const auto slash = pattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash + 1);
  const std::string wildcard = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  const UniqueFd opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::vector<std::string> names;
  if (!opened.IsOpen()) return names;
  // A read error ends the listing with the names found so far.
  ReadFolderNames(opened.Get(), names);
  if (wildcard != "*" && wildcard != "*.*") {
    std::erase_if(names, [&wildcard](const std::string& name) {
      return ::fnmatch(wildcard.c_str(), name.c_str(), 0) != 0;
    });
  }
  return names;
}

bool PosixShellOperations::IsExistingFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixShellOperations::IsExistingFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void PosixShellOperations::NotifyAssociationsChanged() {
  if (onAssociationsChanged_) onAssociationsChanged_();
}

}  // namespace trelik
