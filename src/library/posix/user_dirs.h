#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trelik {

// The folder that user-dirs.dirs (shell syntax: `XDG_DESKTOP_DIR="$HOME/Desktop"`) gives to
// `key`, with "$HOME" expanded; nullopt when it gives none or no absolute path.
std::optional<std::string> UserDirsFolder(std::string_view userDirs, std::string_view key,
                                          std::string_view home);

}  // namespace trelik
