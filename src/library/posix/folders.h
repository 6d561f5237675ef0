#pragma once

#include <sys/types.h>

#include <string>
#include <system_error>
#include <vector>

#include "common/posix/unique_fd.h"

namespace trelik {

// Appends the names in the folder open as `folder` to `names`, "." and ".." included, in the
// order the file system gives them. When reading fails, why; `names` then holds the names read
// until then. The descriptor stays open and usable.
std::error_code ReadFolderNames(int folder, std::vector<std::string>& names);

// Opens the folder `name` in the folder open as `parent` for reading its entries; a link is
// never followed. Not open when it cannot be.
UniqueFd OpenFolderAt(int parent, const std::string& name);

// True for "." and "..", which name the folder itself and its parent.
bool IsDotEntry(const std::string& name);

// The folders that CreateMissingFolders made, outermost first, and why it stopped.
struct FoldersMade {
  std::vector<std::string> made;
  std::error_code failure;  // empty when the folder exists
  std::string failedAt;     // the folder that could not be made
};

// Makes `folder` and whichever of its parents are missing, outermost first, each with the
// permission bits `mode` less the umask. A folder that another process makes meanwhile counts
// as there.
FoldersMade CreateMissingFolders(const std::string& folder, mode_t mode);

}  // namespace trelik
