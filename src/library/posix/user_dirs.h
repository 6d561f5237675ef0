#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trelik {

// The folder that user-dirs.dirs (shell syntax: `XDG_DESKTOP_DIR="$HOME/Desktop"`) gives to
// `key`, with "$HOME" expanded; nullopt when it gives none or no absolute path.
std::optional<std::string> UserDirsFolder(std::string_view userDirs, std::string_view key,
                                          std::string_view home);

// The user's folders as the XDG base directories name them: $HOME (else the password entry's),
// $XDG_DATA_HOME (else ~/.local/share) and $XDG_CONFIG_HOME (else ~/.config); relative XDG
// settings are ignored, as the XDG base directory rules ask.
struct XdgFolders {
  std::string home;
  std::string dataHome;
  std::string configHome;
};
XdgFolders XdgFoldersFromEnvironment();

}  // namespace trelik
