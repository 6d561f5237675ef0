#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace trelik {

// An entry of a folder tree, by its path relative to the tree's root.
struct TreeEntry {
  std::string path;  // backslash-separated, never empty
  bool folder = false;
  std::uint64_t size = 0;  // of a file's content
};

// Every entry below a folder, each folder before what it holds; links and junctions are listed
// but not entered. `failure` and `failedAt` tell what could not be read.
struct TreeListing {
  std::vector<TreeEntry> entries;
  std::error_code failure;
  std::string failedAt;
};
TreeListing ListTree(const std::string& root);

// Checks that the tree at `root` holds every entry of `expected` with the same kind and size,
// and flushes each file's data to the disk, so that a copy moved into place survives a power
// cut. Empty when it does; else the relative path of the first entry that is missing or differs
// and, when the system said why, the reason.
struct TreeCheckFailure {
  std::string path;
  std::error_code error;
};
std::optional<TreeCheckFailure> CheckAndFlushTree(const std::string& root,
                                                  const std::vector<TreeEntry>& expected);

}  // namespace trelik
