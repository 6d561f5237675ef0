#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace trelik {

// An entry of a folder tree, by its path relative to the tree's root, as the listing found it.
struct TreeEntry {
  std::string path;  // backslash-separated, never empty
  bool folder = false;
  std::uint64_t size = 0;  // of a file's content
  DWORD attributes = 0;
  FILETIME lastWrite{};
};

// Every entry below a folder, each folder before what it holds; links and junctions are listed
// but not entered. `failure` and `failedAt` tell what could not be read.
struct TreeListing {
  std::vector<TreeEntry> entries;
  std::error_code failure;
  std::string failedAt;
};
TreeListing ListTree(const std::string& root);

}  // namespace trelik
