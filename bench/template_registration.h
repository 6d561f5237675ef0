#pragma once

#include <string>
#include <vector>

namespace trelik::bench {

// Where the program of `executable` keeps its template library, ending in a separator.
std::string LibraryFolder(const std::string& executable);

// Registers ".trelik" and every template's type for `executable`, as the editor does, and
// brings the desktop's view of them up to date. Returns what failed, or an empty text.
std::string RegisterTemplateTypes(const std::string& executable,
                                  const std::vector<std::string>& names);

}  // namespace trelik::bench
