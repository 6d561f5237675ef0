#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/path_parts.h"

namespace trelik {

// Why `name` cannot name an entry inside a folder on the platform whose separators are given:
// "." and "..", path separators and characters the file system refuses. Empty when it can.
std::optional<std::string> FileNameProblem(std::string_view name, const PathSeparators& separators);

// Whether two names name the same entry of a folder: Windows ignores their letter case.
bool SameFileName(std::string_view a, std::string_view b, const PathSeparators& separators);

}  // namespace trelik
