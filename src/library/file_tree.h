#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trelik {

enum class EntryKind {
  kFile,    // a regular file
  kFolder,  // a real folder, never a link to one
  kOther,   // links and everything else: never entered or opened
};

struct FolderEntry {
  std::string name;
  EntryKind kind = EntryKind::kOther;
  std::uint64_t size = 0;
};

// The entries of a folder, "." and ".." left out; `failure` is set when it could not be read
// whole.
struct FolderEntries {
  std::vector<FolderEntry> entries;
  std::error_code failure;
};
FolderEntries ReadFolderEntries(const std::string& folder);

// Gives a regular file new content through a temporary file beside it that replaces it whole,
// so that it is never seen half-written. Its permission bits (on Windows, its attributes) are
// kept, except that its user may write it afterwards: a filled file is the user's own, even when
// the template's was read-only. Empty on success, else the system's reason.
std::error_code RewriteFile(const std::string& path, std::string_view contents);

}  // namespace trelik
