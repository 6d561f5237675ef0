#include "support/rename_without_replacing.h"

#include <fcntl.h>

#include <cerrno>

#include "shell/posix/rename_no_replace.h"

namespace trelik::testing {

std::error_code RenameWithoutReplacing(const std::string& oldPath, const std::string& newPath) {
  return RenameNoReplace(AT_FDCWD, oldPath, AT_FDCWD, newPath);
}

}  // namespace trelik::testing
