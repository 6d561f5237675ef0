#include "common/system_error.h"

#include <windows.h>

namespace trelik {
namespace {

std::string FormatSystemMessage(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string message =
      length > 0 ? std::string(buffer, length) : "System error " + std::to_string(code);
  LocalFree(buffer);
  return message;
}

}  // namespace

std::error_code LastSystemError() {
  return {static_cast<int>(GetLastError()), std::system_category()};
}

std::string LastSystemErrorText() { return SystemErrorText(LastSystemError()); }

// Codes of the system category are Windows error codes here; the C library's texts are used
// for the generic ones.
std::string SystemErrorText(const std::error_code& error) {
  if (error.category() == std::system_category()) {
    return CleanSystemMessage(FormatSystemMessage(static_cast<DWORD>(error.value())));
  }
  return CleanSystemMessage(error.message());
}

bool NamesNothing(const std::error_code& error) {
  if (error.category() != std::system_category()) {
    return error == std::errc::no_such_file_or_directory;
  }
  return error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND;
}

}  // namespace trelik
