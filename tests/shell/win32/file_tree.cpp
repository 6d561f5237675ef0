#include "file_tree.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "support/temp_folder.h"

namespace trelik::testing {
namespace {

constexpr DWORD kComparedAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY |
                                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Calls `visit` with the path relative to `root` and the attributes of every entry below it,
// a folder before its contents.
void Walk(const std::string& root, const std::string& relative,
          const std::function<void(const std::string&, DWORD)>& visit) {
  WIN32_FIND_DATAA entry;
  const std::string folder = relative.empty() ? root : root + "\\" + relative;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::pair<std::string, DWORD>> entries;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") entries.emplace_back(name, entry.dwFileAttributes);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  for (const auto& [name, attributes] : entries) {
    const std::string path = relative.empty() ? name : relative + "\\" + name;
    visit(path, attributes);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) Walk(root, path, visit);
  }
}

void SetAttributes(const std::string& path, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << "cannot set attributes of " << path;
  // The test means nothing if the file system drops the flag, so make sure it holds.
  ASSERT_EQ(GetFileAttributesA(path.c_str()) & attributes, attributes) << path;
}

}  // namespace

void PrintTo(const TreeEntry& entry, std::ostream* out) {
  *out << "attributes 0x" << std::hex << entry.attributes << std::dec << ", contents "
       << ::testing::PrintToString(entry.contents);
}

TreeSnapshot Snapshot(const std::string& folder) {
  TreeSnapshot snapshot;
  Walk(folder, "", [&](const std::string& path, DWORD attributes) {
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    snapshot[path] = {attributes & kComparedAttributes,
                      isFolder ? std::string() : ReadFileBytes(folder + "\\" + path)};
  });
  return snapshot;
}

void MakeFolder(const std::string& path) {
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << "cannot create " << path;
}

void MakeFile(const std::string& path, const std::string& contents, DWORD attributes) {
  WriteFileBytes(path, contents);
  if (attributes != 0) SetAttributes(path, attributes);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeWritable(const std::string& folder) {
  Walk(folder, "", [&](const std::string& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      SetFileAttributesA((folder + "\\" + path).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  });
}

void MakeTemplateTree(const std::string& folder) {
  MakeFolder(folder);
  MakeFile(folder + "\\index.htm", "<html>template</html>");
  MakeFile(folder + "\\hidden.txt", "hidden", FILE_ATTRIBUTE_HIDDEN);
  MakeFile(folder + "\\readonly.txt", "read-only", FILE_ATTRIBUTE_READONLY);
  MakeFile(folder + "\\system.dat", "system", FILE_ATTRIBUTE_SYSTEM);
  MakeFile(folder + "\\README", "no dot");
  MakeFolder(folder + "\\images");
  MakeFile(folder + "\\images\\logo.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
  MakeFolder(folder + "\\images\\empty");
}

}  // namespace trelik::testing
