#include "library/library_folder.h"

#include "common/path_parts.h"
#include "library/settings_sections.h"

namespace trelik {

std::string LibraryFolder(const TIniFile& settings, const std::string& dataFolder) {
  const std::string folder = settings.ReadText(kLibrarySection, kLibraryFolderKey, "");
  if (folder.empty()) return dataFolder;
  const PathSeparators& separators = PlatformSeparators();
  return AsFolder(WithoutTrailingSeparators(folder, separators), separators);
}

bool IsLibraryElsewhere(const TIniFile& settings) {
  return !settings.ReadText(kLibrarySection, kLibraryFolderKey, "").empty();
}

std::string MissingLibraryText(const std::string& folder) {
  return "The template library \"" + folder +
         "\" is not there, so its templates cannot be used or changed; their New-menu entries "
         "stay.";
}

}  // namespace trelik
