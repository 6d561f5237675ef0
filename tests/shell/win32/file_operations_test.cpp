#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "file_tree.h"
#include "shell/win32/win32_shell_operations.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::Exists;
using testing::MakeFile;
using testing::MakeFolder;
using testing::ReadFileBytes;
using testing::Snapshot;
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

TEST_F(FileOperationsTest, RenamePathRenamesFilesAndFolders) {
  MakeFile(temp_ / "index.htm", "page");
  MakeFolder(temp_ / "Web");
  MakeFile(temp_ / "Web\\inner.txt", "inner");

  EXPECT_FALSE(shell_.RenamePath(temp_ / "index.htm", temp_ / "home.htm"));
  EXPECT_FALSE(shell_.RenamePath(temp_ / "Web", temp_ / "Site"));

  EXPECT_FALSE(Exists(temp_ / "index.htm"));
  EXPECT_EQ(ReadFileBytes(temp_ / "home.htm"), "page");
  EXPECT_FALSE(Exists(temp_ / "Web"));
  EXPECT_EQ(ReadFileBytes(temp_ / "Site\\inner.txt"), "inner");
}

TEST_F(FileOperationsTest, RenamePathNeverReplacesAnExistingEntry) {
  MakeFile(temp_ / "a.txt", "a");
  MakeFile(temp_ / "b.txt", "b");
  MakeFolder(temp_ / "First");
  MakeFile(temp_ / "First\\one.txt", "one");
  MakeFolder(temp_ / "Second");
  MakeFolder(temp_ / "Empty");
  const std::tuple<std::string, std::string, std::errc> cases[] = {
      {"a.txt", "b.txt", std::errc::file_exists},   {"First", "Second", std::errc::file_exists},
      {"First", "Empty", std::errc::file_exists},   {"a.txt", "Second", std::errc::file_exists},
      {"First", "b.txt", std::errc::file_exists},
  };
  const auto before = Snapshot(temp_.Path());
  EXPECT_TRUE(shell_.RenamePath(temp_ / "Missing", temp_ / "Fresh"));
  for (const auto& [from, to, why] : cases) {
    SCOPED_TRACE(from + " -> " + to);
    EXPECT_EQ(shell_.RenamePath(temp_ / from, temp_ / to), why);
    EXPECT_EQ(Snapshot(temp_.Path()), before);
  }
}

TEST_F(FileOperationsTest, RemoveFileDeletesOneFileOnly) {
  MakeFile(temp_ / "New.trelik_Web", "");
  MakeFile(temp_ / "other.txt", "stays");
  MakeFolder(temp_ / "Folder");

  EXPECT_TRUE(shell_.RemoveFile(temp_ / "New.trelik_Web"));
  EXPECT_FALSE(Exists(temp_ / "New.trelik_Web"));

  EXPECT_FALSE(shell_.RemoveFile(temp_ / "New.trelik_Web"));
  EXPECT_FALSE(shell_.RemoveFile(temp_ / "Folder"));
  EXPECT_TRUE(Exists(temp_ / "Folder"));
  EXPECT_EQ(ReadFileBytes(temp_ / "other.txt"), "stays");
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

TEST_F(FileOperationsTest, ListFolderIsEmptyWhenNothingMatches) {
  MakeFolder(temp_ / "Web");
  EXPECT_TRUE(shell_.ListFolder(temp_ / "Web\\*.none").empty());
  EXPECT_TRUE(shell_.ListFolder(temp_ / "Missing\\*.*").empty());
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
