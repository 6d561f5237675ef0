#include "shell/win32/tree_listing.h"

#include <memory>

#include "common/system_error.h"

namespace trelik {
namespace {

using SearchHandle = std::unique_ptr<void, decltype(&FindClose)>;

std::string Child(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "\\" + name;
}

// Lists the folder at `relative` below `root` into `listing`; false when it could not be read.
bool ListFolder(const std::string& root, const std::string& relative, TreeListing& listing) {
  const std::string path = Child(root, relative);
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    listing.failure = LastSystemError();
    listing.failedAt = path;
    return false;
  }
  const SearchHandle closeSearch(search, &FindClose);
  std::vector<std::string> subfolders;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string entry = Child(relative, name);
    listing.entries.push_back(
        {entry, folder,
         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
         found.dwFileAttributes, found.ftLastWriteTime});
    // A junction or link leads out of the tree: the copy lists it but never goes through it.
    if (folder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      subfolders.push_back(entry);
    }
  } while (FindNextFileA(search, &found));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    listing.failure = LastSystemError();
    listing.failedAt = path;
    return false;
  }
  for (const std::string& subfolder : subfolders) {
    if (!ListFolder(root, subfolder, listing)) return false;
  }
  return true;
}

}  // namespace

TreeListing ListTree(const std::string& root) {
  TreeListing listing;
  ListFolder(root, "", listing);
  return listing;
}

}  // namespace trelik
