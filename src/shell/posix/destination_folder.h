#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/posix/unique_fd.h"

namespace trelik {

// True when the folder open as `folder` is `ancestor` or lies anywhere below it, found by
// climbing ".." up to the root, which sees through links and "..". When the climb fails, the
// answer is true, so that a copy that might contain itself is refused rather than started.
bool LiesWithin(int folder, const struct stat& ancestor);

// The folder that a copy goes into, open. Folders missing on its path are created, and taken
// back again when the copy fails.
class DestinationFolder {
 public:
  // Opens `path` (empty: the current folder), creating what is missing of it. Refuses, before
  // creating anything, a folder that is the copied folder `source` itself or lies inside it,
  // since the copy would then have to contain itself. On failure Failure() says why.
  bool Open(const std::string& path, const struct stat& source);

  int Get() const { return fd_.Get(); }
  const std::string& Failure() const { return failure_; }

  // Flushes the folder's entries to the disk, and those of the folders Open created.
  void Sync() const;

  // Removes the folders that Open created, deepest first, each only while it is empty.
  void TakeBack();

 private:
  UniqueFd fd_;
  std::vector<std::string> created_;
  std::string failure_;
};

}  // namespace trelik
