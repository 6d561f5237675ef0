// The Linux shell against the ShellOperations contract.
#include <gtest/gtest.h>

#include <memory>

#include "shell/posix/posix_shell_operations.h"
#include "shell/shell_test_support.h"

namespace trelik::testing {
namespace {

const ShellBackend kPosix = {
    "Posix", [] { return std::make_unique<PosixShellOperations>(nullptr, nullptr, nullptr); }};

INSTANTIATE_TEST_SUITE_P(Posix, ShellConformance, ::testing::Values(kPosix), BackendName);
INSTANTIATE_TEST_SUITE_P(Posix, CopyFolderConformance, ::testing::Values(kPosix), BackendName);

}  // namespace
}  // namespace trelik::testing
