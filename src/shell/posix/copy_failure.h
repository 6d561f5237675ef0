#pragma once

#include <string>

namespace trelik {

// Why a copy failed, for the user: the system's description of `error` followed by the path it
// concerns, except where the path adds nothing (a full disk is full wherever it shows).
std::string CopyFailureText(int error, const std::string& path);

}  // namespace trelik
