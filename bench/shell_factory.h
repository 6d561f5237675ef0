#pragma once

#include <memory>

#include "shell/shell_operations.h"

namespace trelik::bench {

// The platform's real shell operations, without windows.
std::unique_ptr<ShellOperations> MakePlatformShell();

}  // namespace trelik::bench
