#pragma once

#include <string>
#include <system_error>

#include "common/posix/unique_fd.h"

namespace trelik {

// The hidden folder a copy is built in before it is renamed into place. Its name tells whose it
// is (".<name>.trelik-copy-<process id>-<random>"), and the copying process holds a lock on it
// for as long as it lives, so that a folder left by a killed copy can be told from one that is
// still being filled.
struct StagingFolder {
  std::string name;
  UniqueFd folder;          // open and locked; not open when it could not be made
  std::error_code failure;  // why it could not be made
};

// Makes and locks a staging folder for a copy of `name` in the folder open as `destination`.
StagingFolder MakeStagingFolder(int destination, const std::string& name);

// Removes the staging folders in `destination` that were left by copies whose process has ended:
// only folders of that form, owned by this user, whose process is gone and which nobody holds
// locked.
void RemoveAbandonedStagingFolders(int destination);

}  // namespace trelik
