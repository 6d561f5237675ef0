#include "common/system_error.h"

#include <cerrno>

namespace trelik {

std::error_code LastSystemError() { return {errno, std::generic_category()}; }

std::string LastSystemErrorText() { return SystemErrorText(LastSystemError()); }

std::string SystemErrorText(const std::error_code& error) {
  return CleanSystemMessage(error.message());
}

bool NamesNothing(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

}  // namespace trelik
