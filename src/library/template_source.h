#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "library/user_folders.h"

namespace trelik {

// Why the folder `folder` may not be copied whole into the template store `store`: it is the
// top of a file system, the user's home or desktop folder, or it holds one of them or the store.
// Each holds far more than one project; the store would be copied into itself.
std::optional<std::string> TemplateFolderRefusal(const std::string& folder, const UserFolders& user,
                                                 const std::string& store);

// How much a folder holds, below the folder itself.
struct TreeSize {
  std::uint64_t entries = 0;  // files, folders, links and the rest, at every depth
  std::uint64_t bytes = 0;    // of the files
  bool complete = true;       // false when counting stopped at its limit: there is more
};

// Enough to tell a large folder from a small one, and few enough to count in a moment.
inline constexpr std::uint64_t kCountedEntries = 100000;

// Counts the tree under `folder` until `limit` entries are found; links are counted, never
// followed, and what cannot be read counts as empty.
TreeSize MeasureTree(const std::string& folder, std::uint64_t limit = kCountedEntries);

// The user is asked before a template this large is copied: more than 1,000 entries or 100 MB.
bool IsLargeTree(const TreeSize& size);

// The Yes/No question asked before a large folder is copied into the store.
std::string LargeTreeQuestion(const std::string& folder, const TreeSize& size);

}  // namespace trelik
