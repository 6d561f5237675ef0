#include "creation/launcher_name.h"

#include "shell/type_names.h"

namespace trelik {

std::string ExtractProjectName(std::string_view path, const PathSeparators& separators) {
  const std::string extension = ExtensionPart(FileNamePart(path, separators), separators);
  const auto marker = extension.find(kTemplateTypeStart);
  if (marker == std::string::npos) return {};
  return extension.substr(marker + kTemplateTypeStart.size());
}

}  // namespace trelik
