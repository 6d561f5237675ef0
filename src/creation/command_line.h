#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// Splits a Windows command line into its items: runs of characters 1..32 separate items, a
// double quote opens a stretch that ends at the next one (the quotes are dropped), two double
// quotes where an item would begin are skipped, and there is no escape character.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The launcher path: the item after the program's own path, or empty when there is none.
std::string LauncherPathFromCommandLine(std::string_view commandLine);

}  // namespace trelik
