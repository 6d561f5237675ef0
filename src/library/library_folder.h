#pragma once

#include <string>

#include "library/ini_file.h"

namespace trelik {

// The folder that holds the template store and list, ending in the platform's separator: the one
// the settings name, or else the data folder itself. The settings file, and whatever else
// belongs to this computer, stays in the data folder.
std::string LibraryFolder(const TIniFile& settings, const std::string& dataFolder);

// True when the settings name a library folder of their own, which may be missing (an unmounted
// share) where the data folder never is.
bool IsLibraryElsewhere(const TIniFile& settings);

// What is said of a library folder that the settings name and that is not there (an unmounted
// share, a cloud folder not synced yet), and what the user can do about it. `folder` is given
// without its trailing separator.
std::string MissingLibraryText(const std::string& folder);
inline constexpr const char* kConnectTheLibrary =
    "Connect its share or let it sync, or name another library folder in the editor.";

}  // namespace trelik
