#pragma once

#include <string>

namespace trelik {

// Deletes a file, or a folder with everything in it, read-only and hidden entries included.
// A folder link inside is removed as a link; what it points to is left alone. True when
// nothing is left at `path`.
bool RemoveTree(const std::string& path);

}  // namespace trelik
