#pragma once

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

}  // namespace trelik
