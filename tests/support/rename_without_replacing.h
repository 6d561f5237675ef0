#pragma once

#include <string>
#include <system_error>

namespace trelik::testing {

// Renames `oldPath` to `newPath` in one system call that refuses a taken name, so that no entry
// created in between is ever replaced. Empty on success; std::errc::file_exists when the new name
// is taken.
std::error_code RenameWithoutReplacing(const std::string& oldPath, const std::string& newPath);

}  // namespace trelik::testing
