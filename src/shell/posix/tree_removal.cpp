#include "shell/posix/tree_removal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "common/posix/unique_fd.h"
#include "library/posix/folders.h"

namespace trelik {

bool RemoveTree(int parentDir, const std::string& name) {
  const UniqueFd folder = OpenFolderAt(parentDir, name);
  if (!folder.IsOpen()) return false;
  struct stat info {};
  if (::fstat(folder.Get(), &info) == 0 && (info.st_mode & S_IRWXU) != S_IRWXU) {
    ::fchmod(folder.Get(), info.st_mode | S_IRWXU);
  }
  std::vector<std::string> entries;
  bool removedAll = !ReadFolderNames(folder.Get(), entries);
  for (const std::string& entry : entries) {
    if (IsDotEntry(entry) || ::unlinkat(folder.Get(), entry.c_str(), 0) == 0) continue;
    if (errno != EISDIR || !RemoveTree(folder.Get(), entry)) removedAll = false;
  }
  return removedAll && ::unlinkat(parentDir, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace trelik
