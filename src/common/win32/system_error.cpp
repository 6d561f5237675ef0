#include <windows.h>

#include "common/system_error.h"

namespace trelik {

std::string LastSystemErrorText() {
  const DWORD code = GetLastError();
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string message = length > 0 ? std::string(buffer, length)
                                   : "System error " + std::to_string(code);
  LocalFree(buffer);
  return CleanSystemMessage(message);
}

}  // namespace trelik
