#pragma once

#include <string>

namespace trelik {

// Removes the folder `name` in the folder open as `parentDir`, with everything in it, at any
// depth. Links inside are removed, never followed. Used to take back a copy of our own, so
// folders that the copy made read-only are made writable first. True when all of it is gone.
bool RemoveTree(int parentDir, const std::string& name);

}  // namespace trelik
