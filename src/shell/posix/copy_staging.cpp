#include "shell/posix/copy_staging.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "common/system_error.h"
#include "library/posix/folders.h"
#include "shell/posix/tree_removal.h"
#include "shell/staging_name.h"

namespace trelik {
namespace {

// Bounds the retries when other programs keep taking the names we choose.
constexpr int kNameAttempts = 100;

bool ProcessIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

bool IsAbandoned(int destination, const std::string& name, pid_t owner) {
  if (!ProcessIsGone(owner)) return false;
  const UniqueFd folder = OpenFolderAt(destination, name);
  struct stat info {};
  return folder.IsOpen() && ::fstat(folder.Get(), &info) == 0 && info.st_uid == ::geteuid() &&
         ::flock(folder.Get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

StagingFolder MakeStagingFolder(int destination, const std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string candidate = StagingName(name, static_cast<unsigned long>(::getpid()));
    if (::mkdirat(destination, candidate.c_str(), S_IRWXU) != 0) {
      if (errno == EEXIST) continue;
      return {.failure = LastSystemError()};
    }
    UniqueFd folder = OpenFolderAt(destination, candidate);
    // A file system without locks still gets its copy; only the clean-up cannot see it then.
    if (folder.IsOpen()) {
      ::flock(folder.Get(), LOCK_EX | LOCK_NB);
      return {.name = candidate, .folder = std::move(folder)};
    }
    const std::error_code openError = LastSystemError();
    ::unlinkat(destination, candidate.c_str(), AT_REMOVEDIR);
    return {.failure = openError};
  }
  return {.failure = std::make_error_code(std::errc::file_exists)};
}

void RemoveAbandonedStagingFolders(int destination) {
  std::vector<std::string> names;
  ReadFolderNames(destination, names);
  for (const std::string& name : names) {
    const auto owner = StagingOwner(name);
    if (owner && IsAbandoned(destination, name, static_cast<pid_t>(*owner))) {
      RemoveTree(destination, name);
    }
  }
}

}  // namespace trelik
