#include "shell/win32/win32_shell_operations.h"
#include "shell_factory.h"

namespace trelik::bench {

std::unique_ptr<ShellOperations> MakePlatformShell() {
  return std::make_unique<Win32ShellOperations>();
}

}  // namespace trelik::bench
