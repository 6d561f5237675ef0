#pragma once

#include <string>
#include <vector>

namespace trelik {

// One entry of a template's file list.
struct ListedEntry {
  std::string name;
  bool isFolder = false;
};

// The entries as the file list shows them: files before folders, each as file managers sort
// names (letters without regard to ASCII case, runs of digits by their value: "file2" before
// "file10"); names that compare equal keep a fixed order by their bytes. A folder's name ends in
// `folderMark`, the platform's separator, as file managers' paths show folders.
std::vector<std::string> FileListOrder(std::vector<ListedEntry> entries, char folderMark);

// Names in that same order, as the template list shows them.
std::vector<std::string> FileListOrder(const std::vector<std::string>& names);

}  // namespace trelik
