#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// mimeapps.list with `desktopEntry` as the default application of each of `mimeTypes`: lines
// are added to [Default Applications] (made when missing) for types that have no default yet,
// and lines that name `desktopEntry` for a type whose name starts with `ownedPrefix` but is no
// longer among `mimeTypes` are removed. Every other line, a default the user chose for one of
// our types included, stays as it is.
std::string EditDefaultApplications(std::string_view mimeappsList,
                                    const std::vector<std::string>& mimeTypes,
                                    std::string_view ownedPrefix, std::string_view desktopEntry);

// The templates folder set in user-dirs.dirs, with "$HOME" expanded; nullopt when it is not set,
// is not a valid setting, or names the home folder itself, which file managers take as "no
// templates folder".
std::optional<std::string> TemplatesFolderSetting(std::string_view userDirs,
                                                  const std::string& home);

// The value that user-dirs.dirs gets when the templates folder is not set, as
// "xdg-user-dirs-update --set TEMPLATES ~/Templates" writes it.
inline constexpr std::string_view kDefaultTemplatesFolder = "$HOME/Templates";

// user-dirs.dirs with its templates folder set to kDefaultTemplatesFolder; other lines stay.
std::string SetDefaultTemplatesFolder(std::string_view userDirs);

}  // namespace trelik
