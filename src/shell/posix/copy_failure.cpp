#include "shell/posix/copy_failure.h"

#include <cerrno>
#include <system_error>

#include "common/system_error.h"

namespace trelik {

std::string CopyFailureText(int error, const std::string& path) {
  std::string text = SystemErrorText(std::error_code(error, std::generic_category()));
  if (error != ENOSPC && error != EDQUOT) text.append(": ").append(path);
  return text;
}

}  // namespace trelik
