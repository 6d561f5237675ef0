#pragma once

#include <string>
#include <string_view>

#include "common/path_parts.h"

namespace trelik {

// The template name carried by a launcher path's extension (TemplateExtension of the name); empty
// when the path carries none. Case-sensitive; the launcher's base name plays no part.
std::string ExtractProjectName(std::string_view path, const PathSeparators& separators);

}  // namespace trelik
