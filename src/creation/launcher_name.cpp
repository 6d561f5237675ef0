#include "creation/launcher_name.h"

namespace trelik {

std::string ExtractProjectName(std::string_view path, const PathSeparators& separators) {
  const std::string extension = ExtensionPart(FileNamePart(path, separators), separators);
  const auto marker = extension.find(kLauncherMarker);
  if (marker == std::string::npos) return {};
  return extension.substr(marker + kLauncherMarker.size());
}

}  // namespace trelik
