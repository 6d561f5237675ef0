#include "common/system_error.h"

#include <cerrno>

namespace trelik {

std::string LastSystemErrorText() {
  return SystemErrorText(std::error_code(errno, std::generic_category()));
}

std::string SystemErrorText(const std::error_code& error) {
  return CleanSystemMessage(error.message());
}

}  // namespace trelik
