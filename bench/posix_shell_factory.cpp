#include "shell/posix/posix_shell_operations.h"
#include "shell_factory.h"

namespace trelik::bench {

std::unique_ptr<ShellOperations> MakePlatformShell() {
  return std::make_unique<PosixShellOperations>(nullptr, nullptr, nullptr);
}

}  // namespace trelik::bench
