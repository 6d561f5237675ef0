#pragma once

#include <windows.h>

#include <map>
#include <ostream>
#include <string>

namespace trelik::testing {

// What a test compares of an entry: the attributes that a copy must keep, and a file's bytes.
struct TreeEntry {
  DWORD attributes;
  std::string contents;
  bool operator==(const TreeEntry&) const = default;
};

// Every entry below `folder` by its path relative to it; empty when `folder` does not exist.
void PrintTo(const TreeEntry& entry, std::ostream* out);

using TreeSnapshot = std::map<std::string, TreeEntry>;
TreeSnapshot Snapshot(const std::string& folder);

void MakeFolder(const std::string& path);
void MakeFile(const std::string& path, const std::string& contents, DWORD attributes = 0);
bool Exists(const std::string& path);

// Clears the read-only flags below `folder`, so that a temporary folder can be removed.
void MakeWritable(const std::string& folder);

// A source template with a hidden, a read-only and a system file and two levels of subfolders.
void MakeTemplateTree(const std::string& folder);

}  // namespace trelik::testing
