#include "common/system_error.h"

#include <cerrno>

namespace trelik {

std::error_code LastSystemError() { return {errno, std::generic_category()}; }

std::string LastSystemErrorText() { return SystemErrorText(LastSystemError()); }

std::string SystemErrorText(const std::error_code& error) {
  return CleanSystemMessage(error.message());
}

}  // namespace trelik
