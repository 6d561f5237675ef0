#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shell/registry.h"
#include "shell/registry_tree.h"
#include "support/temp_folder.h"

namespace trelik::testing {

// Every key and value below `root`, one line each, parents first: "<key path>" for a key
// without values, "<key path> <name>=<data>" per value, "@" naming the default value.
std::vector<std::string> Layout(const RegistryNode& root);

// A registry backend under test, opened on a fresh scratch folder for each test.
struct RegistryBackend {
  std::string name;
  std::function<std::unique_ptr<Registry>(const std::string& scratchFolder)> open;
};

// The key below which the running conformance test works, removed before and after it; each
// test has its own, so that tests running at the same time in other processes never meet in a
// shared registry.
std::string ScratchKey();

// The rules every backend must follow, run against each of them below a key of its own.
class RegistryConformance : public ::testing::TestWithParam<RegistryBackend> {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempFolder folder_;
  std::unique_ptr<Registry> registry_;
};

void PrintTo(const RegistryBackend& backend, std::ostream* out);
std::string BackendName(const ::testing::TestParamInfo<RegistryBackend>& info);

}  // namespace trelik::testing
