#pragma once

#include <string>
#include <string_view>

namespace trelik {

// A notice says what happened on its first line and what the user can do next on its second;
// any lines of detail (a list of names, the system's reason) follow. Returns `notice` with
// `next` put after its first line.
inline std::string WithNextStep(const std::string& notice, std::string_view next) {
  const std::size_t end = notice.find('\n');
  std::string told = notice.substr(0, end);
  told.append("\n").append(next);
  if (end != std::string::npos) told.append(notice, end);
  return told;
}

}  // namespace trelik
