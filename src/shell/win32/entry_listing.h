#pragma once

#include <string>
#include <vector>

namespace trelik {

// The names of the entries that match `pattern` (a folder path followed by a wildcard), in the
// order the file system gives them, "." and ".." included and nothing filtered by attributes.
// Empty when nothing matches or the search fails; a failure part-way ends the list early.
std::vector<std::string> ListEntries(const std::string& pattern);

}  // namespace trelik
