#include "shell/win32/tree_check.h"

#include <windows.h>

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
         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
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

HANDLE OpenForWriting(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Checks a copied file's size and flushes it; false when it differs or fails, `error` then
// holding the system's reason if there is one. The system flushes only files open for
// writing, which a read-only file is not until its flag is lifted for the moment.
bool CheckAndFlushFile(const std::string& path, DWORD attributes, std::uint64_t expectedSize,
                       std::error_code& error) {
  HANDLE file = OpenForWriting(path);
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (file == INVALID_HANDLE_VALUE && readOnly &&
      SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    file = OpenForWriting(path);
  }
  LARGE_INTEGER size{};
  bool fine = false;
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
    error = LastSystemError();
  } else if (static_cast<std::uint64_t>(size.QuadPart) == expectedSize) {
    fine = FlushFileBuffers(file) != 0;
    if (!fine) error = LastSystemError();
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (readOnly) SetFileAttributesA(path.c_str(), attributes);
  return fine;
}

}  // namespace

TreeListing ListTree(const std::string& root) {
  TreeListing listing;
  ListFolder(root, "", listing);
  return listing;
}

std::optional<TreeCheckFailure> CheckAndFlushTree(const std::string& root,
                                                  const std::vector<TreeEntry>& expected) {
  for (const TreeEntry& entry : expected) {
    const std::string path = root + "\\" + entry.path;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return TreeCheckFailure{entry.path, LastSystemError()};
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != entry.folder) {
      return TreeCheckFailure{entry.path, {}};
    }
    if (entry.folder) continue;
    std::error_code error;
    if (!CheckAndFlushFile(path, attributes, entry.size, error)) {
      return TreeCheckFailure{entry.path, error};
    }
  }
  return std::nullopt;
}

}  // namespace trelik
