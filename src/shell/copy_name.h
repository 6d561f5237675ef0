#pragma once

#include <functional>
#include <string>

namespace trelik {

// The name a copy of `name` takes in a folder, chosen the way Windows Explorer names copies:
// `name` itself when it is free, else "<name> - Copy", then "<name> - Copy (2)", "(3)", ...
// `isTaken` tells whether a name is already used in the destination folder.
std::string FreeCopyName(const std::string& name,
                         const std::function<bool(const std::string&)>& isTaken);

// The name a copy of `name` arrives under when it is wanted as `wanted`: `wanted` when it is
// given and free, else FreeCopyName(name).
std::string ArrivalName(const std::string& name, const std::string& wanted,
                        const std::function<bool(const std::string&)>& isTaken);

}  // namespace trelik
