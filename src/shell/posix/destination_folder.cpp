#include "shell/posix/destination_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

#include "common/path_parts.h"
#include "common/system_error.h"
#include "library/posix/folders.h"
#include "shell/posix/copy_failure.h"
#include "shell/posix/tree_sync.h"

namespace trelik {
namespace {

std::string ParentFolder(const std::string& path) {
  const std::string parent = WithoutTrailingSeparators(
      DirectoryPart(WithoutTrailingSeparators(path, kPosixSeparators), kPosixSeparators),
      kPosixSeparators);
  return parent.empty() ? "." : parent;
}

bool IsSameEntry(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool LiesWithin(int folder, const struct stat& ancestor) {
  UniqueFd current(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
  struct stat currentInfo {};
  if (!current.IsOpen() || ::fstat(current.Get(), &currentInfo) != 0) return true;
  for (;;) {
    if (IsSameEntry(currentInfo, ancestor)) return true;
    UniqueFd parent(::openat(current.Get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat parentInfo {};
    if (!parent.IsOpen() || ::fstat(parent.Get(), &parentInfo) != 0) return true;
    if (IsSameEntry(parentInfo, currentInfo)) return false;
    current = std::move(parent);
    currentInfo = parentInfo;
  }
}

bool DestinationFolder::Open(const std::string& path, const struct stat& source) {
  const std::string folder = path.empty() ? "." : path;
  // The nearest folder that exists must not lie within the source.
  std::string existing = folder;
  for (;;) {
    UniqueFd probe(::open(existing.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (probe.IsOpen()) {
      if (!LiesWithin(probe.Get(), source)) break;
      failure_ = "a folder cannot be copied into itself";
      return false;
    }
    const std::error_code openError = LastSystemError();
    const std::string parent = ParentFolder(existing);
    if (openError != std::errc::no_such_file_or_directory || parent == existing) {
      failure_ = CopyFailureText(openError, existing);
      return false;
    }
    existing = parent;
  }
  FoldersMade made = CreateMissingFolders(folder, 0777);
  created_ = std::move(made.made);
  if (made.failure) {
    failure_ = CopyFailureText(made.failure, made.failedAt);
    TakeBack();
    return false;
  }
  fd_ = UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd_.IsOpen()) return true;
  failure_ = CopyFailureText(LastSystemError(), folder);
  TakeBack();
  return false;
}

void DestinationFolder::Sync() const {
  SyncFolder(fd_.Get());
  // A folder made for the copy is named in its parent, which needs flushing as well.
  for (const std::string& made : created_) {
    const UniqueFd parent(::open(ParentFolder(made).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.IsOpen()) SyncFolder(parent.Get());
  }
}

void DestinationFolder::TakeBack() {
  fd_ = UniqueFd();
  for (auto made = created_.rbegin(); made != created_.rend(); ++made) ::rmdir(made->c_str());
  created_.clear();
}

}  // namespace trelik
