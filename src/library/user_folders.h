#pragma once

#include <string>

namespace trelik {

// The user's own folders that hold far more than one project.
struct UserFolders {
  std::string home;
  std::string desktop;
};

// Linux: $HOME, and the desktop as xdg-user-dir names it (user-dirs.dirs, else
// $XDG_DESKTOP_DIR, else ~/Desktop). Windows: the profile and desktop folders of the shell.
UserFolders CurrentUserFolders();

// `path` in the form in which every path of one folder compares equal: absolute, without a
// trailing separator, with links (Linux) or short names and letter case (Windows) resolved.
// The part of it that does not exist is kept as given.
std::string ComparablePath(const std::string& path);

// True when `folder` is the top of a file system: "/" or a mount point on Linux; a drive, a
// share or a volume mounted in a folder on Windows.
bool IsFileSystemRoot(const std::string& folder);

}  // namespace trelik
