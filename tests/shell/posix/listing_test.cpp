#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/posix/posix_shell_operations.h"
#include "support/temp_folder.h"
#include "test_files.h"

namespace trelik {
namespace {

using testing::MakeFile;
using testing::MakeFolder;
using testing::MakeLink;
using testing::TempFolder;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ListFolder, MatchesTheWildcardAgainstEveryEntry) {
  TempFolder folder;
  MakeFolder(folder / "Web");
  MakeFile(folder / "Web/index.htm", "");
  MakeFile(folder / "Web/.hidden", "", 0400);
  MakeFile(folder / "Web/README", "");
  MakeFile(folder / "Web/style.CSS", "");
  MakeFolder(folder / "Web/images");
  MakeLink(folder / "Web/link", "nowhere");
  const std::vector<std::string> everything = {".",      "..",        ".hidden", "README",
                                               "images", "index.htm", "link",    "style.CSS"};
  struct Case {
    std::string wildcard;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"*.*", everything},  // as on Windows, names without a dot too
      {"*", everything},
      {"*.htm", {"index.htm"}},
      {"*.css", {}},  // case-sensitive, like the file system
      {"i*", {"images", "index.htm"}},
      {"?EADME", {"README"}},
      {".*", {".", "..", ".hidden"}},
  };
  PosixShellOperations shell({}, {}, {});
  for (const Case& c : cases) {
    EXPECT_EQ(Sorted(shell.ListFolder(folder / ("Web/" + c.wildcard))), c.expected) << c.wildcard;
  }
}

TEST(IsExistingFile, IsTrueForEntriesThatAreNoFolders) {
  TempFolder folder;
  MakeFile(folder / "file.txt", "");
  MakeFolder(folder / "folder");
  MakeLink(folder / "to-folder", "folder");
  MakeLink(folder / "to-file", "file.txt");
  MakeLink(folder / "dangling", "missing");
  struct Case {
    std::string name;
    bool expected;
  };
  const Case cases[] = {
      {"file.txt", true}, {"folder", false},    {"missing", false},
      {"to-file", true},  {"to-folder", false}, {"dangling", false},
  };
  PosixShellOperations shell({}, {}, {});
  for (const Case& c : cases) {
    EXPECT_EQ(shell.IsExistingFile(folder / c.name), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace trelik
