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

// What user-dirs.dirs says of the templates folder.
struct TemplatesFolderSetting {
  enum class State {
    kUnset,      // no setting, or one that is not valid: file managers then have none
    kTurnedOff,  // set to the home folder itself, which file managers take as "no folder"
    kSet,
  };
  State state = State::kUnset;
  std::string folder;  // when set: the folder, "$HOME" expanded
  std::string line;    // the setting's line as it stands; empty when there is none
};
TemplatesFolderSetting ReadTemplatesFolderSetting(std::string_view userDirs,
                                                  const std::string& home);

// The value that user-dirs.dirs gets when the templates folder is not set, as
// "xdg-user-dirs-update --set TEMPLATES ~/Templates" writes it.
inline constexpr std::string_view kDefaultTemplatesFolder = "$HOME/Templates";

// The line that sets the templates folder to kDefaultTemplatesFolder.
std::string DefaultTemplatesSetting();

// user-dirs.dirs with its templates folder set to kDefaultTemplatesFolder; other lines stay.
std::string SetDefaultTemplatesFolder(std::string_view userDirs);

// user-dirs.dirs with the setting that SetDefaultTemplatesFolder wrote replaced by
// `formerLine`, or removed when that is empty; nullopt when that setting is no longer there.
std::optional<std::string> PutBackTemplatesFolder(std::string_view userDirs,
                                                  std::string_view formerLine);

}  // namespace trelik
