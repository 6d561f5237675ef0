#include "library/posix/user_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace trelik {

std::optional<std::string> UserDirsFolder(std::string_view userDirs, std::string_view key,
                                          std::string_view home) {
  std::optional<std::string> folder;
  while (!userDirs.empty()) {
    const std::size_t end = userDirs.find('\n');
    std::string_view line = userDirs.substr(0, end);
    userDirs.remove_prefix(end == std::string_view::npos ? userDirs.size() : end + 1);
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    if (!line.starts_with(key) || !line.substr(key.size()).starts_with('=')) continue;
    std::string_view value = line.substr(key.size() + 1);
    value = value.substr(0, value.find_last_not_of(" \t\r") + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    std::string expanded(value);
    if (value.starts_with("$HOME")) expanded = std::string(home).append(value.substr(5));
    // As the shell that reads the file, the last setting wins.
    folder = expanded.starts_with('/') ? std::optional(expanded) : std::nullopt;
  }
  return folder;
}

XdgFolders XdgFoldersFromEnvironment() {
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value ? value : "");
  };
  XdgFolders folders{.home = variable("HOME")};
  if (folders.home.empty()) {
    if (const passwd* user = ::getpwuid(::getuid())) folders.home = user->pw_dir;
  }
  folders.dataHome = variable("XDG_DATA_HOME");
  if (!folders.dataHome.starts_with('/')) folders.dataHome = folders.home + "/.local/share";
  folders.configHome = variable("XDG_CONFIG_HOME");
  if (!folders.configHome.starts_with('/')) folders.configHome = folders.home + "/.config";
  return folders;
}

}  // namespace trelik
