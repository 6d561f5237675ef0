#include "shell/posix/copy_failure.h"

#include <cerrno>

#include "common/system_error.h"

namespace trelik {

std::string CopyFailureText(const std::error_code& error, const std::string& path) {
  std::string text = SystemErrorText(error);
  if (error != std::errc::no_space_on_device && error.value() != EDQUOT) {
    text.append(": ").append(path);
  }
  return text;
}

}  // namespace trelik
