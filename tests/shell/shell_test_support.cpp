#include "shell/shell_test_support.h"

#include <filesystem>

namespace trelik::testing {
namespace fs = std::filesystem;

std::string ShellConformance::At(const std::string& relative) const {
  return folder_ / fs::path(relative).make_preferred().string();
}

void ShellConformance::MakeFolder(const std::string& relative) const {
  ASSERT_TRUE(fs::create_directory(At(relative))) << relative;
}

void ShellConformance::MakeFile(const std::string& relative, const std::string& bytes) const {
  WriteFileBytes(At(relative), bytes);
  ASSERT_TRUE(fs::is_regular_file(At(relative))) << relative;
}

std::set<std::string> ShellConformance::Tree(const std::string& relative) const {
  std::set<std::string> entries;
  const fs::path root = At(relative);
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
    const std::string path = entry.path().lexically_relative(root).generic_string();
    entries.insert(entry.is_directory() ? path + "/"
                                        : path + "=" + ReadFileBytes(entry.path().string()));
  }
  return entries;
}

void CopyFolderConformance::SetUp() {
  ShellConformance::SetUp();
  MakeFolder("Web");
  MakeFile("Web/index.htm", "page");
  MakeFolder("Web/images");
  MakeFile("Web/images/logo.png", "png");
  MakeFolder("Web/images/empty");
}

bool SameEntry(const std::string& path, const std::string& other) {
  std::error_code error;
  return fs::equivalent(path, other, error);
}

void PrintTo(const ShellBackend& backend, std::ostream* out) { *out << backend.name; }

std::string BackendName(const ::testing::TestParamInfo<ShellBackend>& info) {
  return info.param.name;
}

}  // namespace trelik::testing
