#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "shell/win32/tree_listing.h"

namespace trelik {

// Told how far a copy has got in bytes of file content, `done` of `total`, where the total has
// one more for the flushing at the end: first (0, total), then after each file and each piece of
// a large one, and while the last flushes are waited for, and last (total, total) however the
// copy ended. False when the user asked to stop the copy.
using CopyProgressReport = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Why a tree copy stopped: the entry, by its path relative to the tree, and the system's reason,
// none when the file did not arrive whole; `inCopy` when the copy's side failed (making,
// writing, flushing), not the template's (reading).
struct TreeCopyFailure {
  std::string path;
  std::error_code error;
  bool inCopy = false;
};

struct TreeCopyResult {
  std::optional<TreeCopyFailure> failure;
  bool cancelled = false;
};

// Copies the listed `entries` of the tree at `from` into the empty folder `to` in one walk: each
// folder made with the template's attributes, each file copied, checked to have the size listed,
// given the template's attributes and last-write time, and flushed to the disk, so that a copy
// moved into place survives a power cut. Stops at the first failure or when `progress`, which
// may be empty, asks; what was copied by then stays for the caller to remove.
TreeCopyResult CopyTree(const std::string& from, const std::string& to,
                        const std::vector<TreeEntry>& entries, const CopyProgressReport& progress);

}  // namespace trelik
