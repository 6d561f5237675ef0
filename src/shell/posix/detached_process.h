#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trelik {

// The path of the first executable file named `program` in the folders listed in PATH.
std::optional<std::string> FindOnPath(const std::string& program);

// Starts the program at `path` with `arguments` (the first being its own name) exactly as
// given, with no shell in between, in a session of its own, and returns at once. The program
// is not our child: it never waits on us as a zombie, and we never wait for it.
void StartDetached(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace trelik
