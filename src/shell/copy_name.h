#pragma once

#include <functional>
#include <string>

namespace trelik {

// The name a copy of `name` takes in a folder, chosen the way Windows Explorer names copies:
// `name` itself when it is free, else "<name> - Copy", then "<name> - Copy (2)", "(3)", ...
// `isTaken` tells whether a name is already used in the destination folder.
std::string FreeCopyName(const std::string& name,
                         const std::function<bool(const std::string&)>& isTaken);

}  // namespace trelik
