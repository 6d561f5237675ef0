#pragma once

#include <string>
#include <system_error>

namespace trelik {

// Why a copy failed, for the user: the system's description of `error` followed by the path it
// concerns, except where the path adds nothing (a full disk is full wherever it shows).
std::string CopyFailureText(const std::error_code& error, const std::string& path);

}  // namespace trelik
