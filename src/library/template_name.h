#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/path_parts.h"

namespace trelik {

// Why `name` cannot name a template: it must survive unchanged as a launcher extension, as a
// key of the settings file and as a folder name. Empty when it can.
std::optional<std::string> TemplateNameProblem(std::string_view name,
                                               const PathSeparators& separators);

}  // namespace trelik
