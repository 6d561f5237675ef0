#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include "shell/shell_operations.h"
#include "support/temp_folder.h"

namespace trelik::testing {

// A ShellOperations implementation under test, made afresh for each test.
struct ShellBackend {
  std::string name;
  std::function<std::unique_ptr<ShellOperations>()> open;
};

// The contract every implementation must keep, checked on a fresh temporary folder per test.
class ShellConformance : public ::testing::TestWithParam<ShellBackend> {
 protected:
  void SetUp() override { shell_ = GetParam().open(); }

  // `relative` below the test's folder, written with '/' whatever the platform's separator.
  std::string At(const std::string& relative) const;
  void MakeFolder(const std::string& relative) const;
  void MakeFile(const std::string& relative, const std::string& bytes) const;
  // Every entry below `relative` at any depth, by its path relative to it: "<path>/" for a
  // folder, "<path>=<bytes>" for a file; empty when nothing is there.
  std::set<std::string> Tree(const std::string& relative = "") const;

  TempFolder folder_;
  std::unique_ptr<ShellOperations> shell_;
};

// Copy tests start from the folder "Web" holding a file, a subfolder with a file, and an empty
// folder below that.
class CopyFolderConformance : public ShellConformance {
 protected:
  void SetUp() override;

  // What Tree("Web") lists.
  const std::set<std::string> source_ = {"index.htm=page", "images/", "images/logo.png=png",
                                         "images/empty/"};
};

// True when both paths name the same existing entry, whatever their spelling.
bool SameEntry(const std::string& path, const std::string& other);

void PrintTo(const ShellBackend& backend, std::ostream* out);
std::string BackendName(const ::testing::TestParamInfo<ShellBackend>& info);

}  // namespace trelik::testing
