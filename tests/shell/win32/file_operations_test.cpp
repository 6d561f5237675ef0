#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "file_tree.h"
#include "shell/win32/win32_shell_operations.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::MakeFile;
using testing::MakeFolder;
using testing::TempFolder;

class FileOperationsTest : public ::testing::Test {
 protected:
  void TearDown() override { testing::MakeWritable(temp_.Path()); }

  TempFolder temp_;
  Win32ShellOperations shell_;
};

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(FileOperationsTest, ListFolderReturnsEveryEntryWhateverItsAttributes) {
  MakeFolder(temp_ / "Web");
  MakeFile(temp_ / "Web\\index.htm", "page");
  MakeFile(temp_ / "Web\\README", "no dot in the name");
  MakeFile(temp_ / "Web\\hidden.txt", "", FILE_ATTRIBUTE_HIDDEN);
  MakeFile(temp_ / "Web\\system.dat", "", FILE_ATTRIBUTE_SYSTEM);
  MakeFile(temp_ / "Web\\readonly.txt", "", FILE_ATTRIBUTE_READONLY);
  MakeFolder(temp_ / "Web\\images");
  MakeFile(temp_ / "Web\\images\\logo.png", "not listed: one level only");

  const std::vector<std::string> expected = {".",      "..",        "README",       "hidden.txt",
                                             "images", "index.htm", "readonly.txt", "system.dat"};
  EXPECT_EQ(Sorted(shell_.ListFolder(temp_ / "Web\\*.*")), expected);
  EXPECT_EQ(shell_.ListFolder(temp_ / "Web\\*.htm"), std::vector<std::string>{"index.htm"});
}

TEST_F(FileOperationsTest, IsExistingFileIsTrueForFilesOnly) {
  MakeFile(temp_ / "projects.lib", "Web\r\n");
  MakeFile(temp_ / "hidden.lib", "", FILE_ATTRIBUTE_HIDDEN);
  MakeFolder(temp_ / "projects");
  const std::pair<std::string, bool> cases[] = {
      {"projects.lib", true}, {"hidden.lib", true},   {"projects", false},
      {"projects\\", false},  {"missing.lib", false}, {"missing\\projects.lib", false},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(shell_.IsExistingFile(temp_ / path), expected) << path;
  }
}

}  // namespace
}  // namespace trelik
