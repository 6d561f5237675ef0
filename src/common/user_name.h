#pragma once

#include <string>

namespace trelik {

// The user's full name where the system records one, else the login name; empty when neither
// can be found.
std::string UserName();

}  // namespace trelik
