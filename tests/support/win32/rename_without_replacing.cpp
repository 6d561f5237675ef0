#include "support/rename_without_replacing.h"

#include <windows.h>

namespace trelik::testing {

std::error_code RenameWithoutReplacing(const std::string& oldPath, const std::string& newPath) {
  // Without MOVEFILE_REPLACE_EXISTING the system itself refuses a taken name.
  if (MoveFileA(oldPath.c_str(), newPath.c_str())) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return std::make_error_code(std::errc::file_exists);
  }
  return {static_cast<int>(error), std::system_category()};
}

}  // namespace trelik::testing
