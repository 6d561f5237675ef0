// The Windows shell against the ShellOperations contract, on real folders under Wine.
#include <gtest/gtest.h>

#include <memory>

#include "shell/shell_test_support.h"
#include "shell/win32/win32_shell_operations.h"

namespace trelik::testing {
namespace {

const ShellBackend kWin32 = {"Win32", [] { return std::make_unique<Win32ShellOperations>(); }};

INSTANTIATE_TEST_SUITE_P(Win32, ShellConformance, ::testing::Values(kWin32), BackendName);
INSTANTIATE_TEST_SUITE_P(Win32, CopyFolderConformance, ::testing::Values(kWin32), BackendName);

}  // namespace
}  // namespace trelik::testing
