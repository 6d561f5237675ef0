// The ShellOperations contract that the windows and the creation sequence rely on, checked on
// real folders against every implementation: the fake here, the platform's own shell in its
// platform test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/shell_test_support.h"
#include "support/fake_shell.h"

namespace trelik::testing {
namespace {

using Names = std::vector<std::string>;
using Entries = std::set<std::string>;

Names Sorted(Names names) {
  std::ranges::sort(names);
  return names;
}

// `entries` as seen from the folder above them, inside `folder`.
Entries Inside(const std::string& folder, const Entries& entries) {
  Entries moved = {folder + "/"};
  for (const auto& entry : entries) moved.insert(folder + "/" + entry);
  return moved;
}

Entries Merged(Entries entries, const Entries& more) {
  entries.insert(more.begin(), more.end());
  return entries;
}

TEST_P(ShellConformance, ListFolderListsTheEntriesMatchingTheWildcard) {
  MakeFolder("Web");
  MakeFile("Web/index.htm", "page");
  MakeFile("Web/notes.txt", "");
  MakeFile("Web/README", "");
  MakeFolder("Web/old.htm");
  MakeFolder("Web/images");
  MakeFile("Web/images/logo.htm", "one level only");
  MakeFile("plain.txt", "");
  const Names everything = {".", "..", "README", "images", "index.htm", "notes.txt", "old.htm"};
  const std::pair<std::string, Names> cases[] = {
      {"Web/*.*", everything},  // names without a dot too
      {"Web/*", everything},   {"Web/*.htm", {"index.htm", "old.htm"}},
      {"Web/*.none", {}},      {"Missing/*.*", {}},
      {"plain.txt/*.*", {}},
  };
  for (const auto& [pattern, expected] : cases) {
    SCOPED_TRACE(pattern);
    EXPECT_EQ(Sorted(shell_->ListFolder(At(pattern))), expected);
  }
}

TEST_P(ShellConformance, RenamePathNeverReplacesAnEntryAndFailsForAMissingSource) {
  MakeFile("file.txt", "file");
  MakeFile("other.txt", "other");
  MakeFolder("Project");
  MakeFile("Project/main.htm", "main");
  MakeFolder("Empty");
  const std::pair<std::string, std::string> taken[] = {
      {"file.txt", "other.txt"}, {"Project", "Empty"},     {"Empty", "Project"},
      {"file.txt", "Empty"},     {"Project", "other.txt"},
  };
  const Entries before = Tree();
  for (const auto& [from, to] : taken) {
    SCOPED_TRACE(from + " -> " + to);
    EXPECT_EQ(shell_->RenamePath(At(from), At(to)), std::errc::file_exists);
    EXPECT_EQ(Tree(), before);
  }

  const std::error_code missing = shell_->RenamePath(At("Missing"), At("Fresh"));
  EXPECT_TRUE(missing);
  EXPECT_NE(missing, std::errc::file_exists);
  EXPECT_EQ(Tree(), before);
}

TEST_P(ShellConformance, RenamePathMovesFilesAndFolders) {
  MakeFile("file.txt", "file");
  MakeFile("other.txt", "other");
  MakeFolder("Project");
  MakeFile("Project/main.htm", "main");
  MakeFolder("Empty");

  EXPECT_FALSE(shell_->RenamePath(At("file.txt"), At("renamed.txt")));
  EXPECT_FALSE(shell_->RenamePath(At("Project"), At("Site")));
  EXPECT_FALSE(shell_->RenamePath(At("other.txt"), At("Empty/moved.txt")));

  EXPECT_EQ(Tree(), (Entries{"Empty/", "Empty/moved.txt=other", "Site/", "Site/main.htm=main",
                             "renamed.txt=file"}));
}

TEST_P(CopyFolderConformance, CopiesTheWholeTreeIntoAMissingDestination) {
  const CopyResult copy = shell_->CopyFolder(nullptr, At("Web"), At("new/dest"));

  ASSERT_TRUE(copy.arrivedAt) << copy.failure;
  EXPECT_TRUE(SameEntry(*copy.arrivedAt, At("new/dest/Web"))) << *copy.arrivedAt;
  EXPECT_EQ(Tree("new"), Inside("dest", Inside("Web", source_)));
  EXPECT_EQ(Tree("Web"), source_);
}

TEST_P(CopyFolderConformance, TakesTheFirstFreeCopyNameAndLeavesTakenNamesAlone) {
  MakeFolder("dest");
  MakeFolder("dest/Web");
  MakeFile("dest/Web/mine.txt", "the user's own file");
  MakeFile("dest/Web - Copy", "a file takes the name too");

  const CopyResult first = shell_->CopyFolder(nullptr, At("Web"), At("dest"));
  const CopyResult second = shell_->CopyFolder(nullptr, At("Web"), At("dest"));

  ASSERT_TRUE(first.arrivedAt) << first.failure;
  ASSERT_TRUE(second.arrivedAt) << second.failure;
  EXPECT_TRUE(SameEntry(*first.arrivedAt, At("dest/Web - Copy (2)"))) << *first.arrivedAt;
  EXPECT_TRUE(SameEntry(*second.arrivedAt, At("dest/Web - Copy (3)"))) << *second.arrivedAt;
  const Entries mine = {"Web/", "Web/mine.txt=the user's own file",
                        "Web - Copy=a file takes the name too"};
  EXPECT_EQ(Tree("dest"), Merged(mine, Merged(Inside("Web - Copy (2)", source_),
                                              Inside("Web - Copy (3)", source_))));
}

// The finishing work sees the whole copy before it appears, under the name it will get; when
// it fails, so does the copy, and nothing of it is left.
TEST_P(CopyFolderConformance, FinishesTheCopyBeforeItAppearsAndAFailedFinishLeavesNothing) {
  MakeFolder("dest");
  MakeFolder("dest/Web");
  for (const bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "failing" : "succeeding");
    const Entries before = Tree("dest");
    Entries seen;
    std::string told;
    const CopyResult copy = shell_->CopyFolder(
        nullptr, At("Web"), At("dest"),
        [&](const std::string& copyPath, const std::string& arrivalName) {
          const std::string copy = std::filesystem::relative(copyPath, At("")).generic_string();
          seen = Tree(copy);
          told = arrivalName;
          MakeFile(copy + "/finished.txt", "yes");
          return std::string(fails ? "it broke" : "");
        });
    EXPECT_EQ(seen, source_);
    EXPECT_EQ(told, "Web - Copy");
    if (fails) {
      EXPECT_EQ(copy.arrivedAt, std::nullopt);
      EXPECT_EQ(copy.failure, "it broke");
      EXPECT_EQ(Tree("dest"), before);
    } else {
      ASSERT_TRUE(copy.arrivedAt) << copy.failure;
      EXPECT_EQ(Tree("dest"),
                Merged(before, Inside("Web - Copy", Merged(source_, {"finished.txt=yes"}))));
      EXPECT_TRUE(shell_->RemoveFolder(*copy.arrivedAt));
    }
  }
}

// The copy arrives under the name wanted for it when that is free, else under the source's own
// name or its first free copy name, saying why; `finish` is told the name it arrives under.
TEST_P(CopyFolderConformance, ArrivesUnderTheWantedNameWhenItIsFree) {
  MakeFolder("dest");
  MakeFolder("dest/Taken");
  const std::error_code taken = std::make_error_code(std::errc::file_exists);
  const std::tuple<std::string, std::string, std::error_code> cases[] = {
      {"Shop", "Shop", {}}, {"Taken", "Web", taken}, {"Shop", "Web - Copy", taken}};
  for (const auto& [wanted, arrival, failure] : cases) {
    SCOPED_TRACE(wanted + " -> " + arrival);
    std::string told;
    const CopyResult copy = shell_->CopyFolder(
        nullptr, At("Web"), At("dest"),
        [&](const std::string&, const std::string& name) { return (told = name, std::string()); },
        wanted);
    ASSERT_TRUE(copy.arrivedAt) << copy.failure;
    EXPECT_TRUE(SameEntry(*copy.arrivedAt, At("dest/" + arrival))) << *copy.arrivedAt;
    EXPECT_EQ(told, arrival);
    EXPECT_EQ(copy.wantedNameFailure, failure);
    EXPECT_EQ(Tree("dest/" + arrival), source_);
  }
}

TEST_P(CopyFolderConformance, AMissingSourceFailsAndLeavesNothingBehind) {
  MakeFolder("dest");
  for (const char* destDir : {"dest", "nowhere"}) {
    SCOPED_TRACE(destDir);
    const Entries before = Tree();

    EXPECT_EQ(shell_->CopyFolder(nullptr, At("Missing"), At(destDir)).arrivedAt, std::nullopt);

    EXPECT_EQ(Tree(), before);
  }
}

TEST_P(ShellConformance, RemoveFileDeletesFilesButNeverFolders) {
  MakeFile("file.txt", "file");
  MakeFolder("Folder");
  MakeFile("Folder/inside.txt", "inside");
  MakeFolder("Empty");
  const std::pair<std::string, bool> cases[] = {
      {"file.txt", true}, {"Folder", false}, {"Empty", false}, {"missing.txt", false}};
  for (const auto& [path, removed] : cases) {
    EXPECT_EQ(shell_->RemoveFile(At(path)), removed) << path;
  }
  EXPECT_EQ(Tree(), (Entries{"Empty/", "Folder/", "Folder/inside.txt=inside"}));
}

TEST_P(ShellConformance, RemoveFolderDeletesTheWholeTreeAndNothingElse) {
  MakeFolder("Web");
  MakeFile("Web/index.htm", "page");
  MakeFolder("Web/images");
  MakeFile("Web/images/logo.png", "png");
  MakeFolder("Web/images/empty");
  MakeFolder("Web - Copy");
  MakeFile("Web - Copy/keep.txt", "a neighbour");

  EXPECT_TRUE(shell_->RemoveFolder(At("Web")));

  EXPECT_EQ(Tree(), (Entries{"Web - Copy/", "Web - Copy/keep.txt=a neighbour"}));
}

TEST_P(ShellConformance, IsExistingFileAndIsExistingFolderTellFilesFromFolders) {
  MakeFile("file.txt", "file");
  MakeFile("empty.txt", "");
  MakeFolder("Folder");
  MakeFolder("Folder/Empty");
  MakeFile("Folder/inner.txt", "inner");
  const std::tuple<std::string, bool, bool> cases[] = {
      // path, a file, a folder
      {"file.txt", true, false},          {"empty.txt", true, false},
      {"Folder/inner.txt", true, false},  {"Folder", false, true},
      {"Folder/Empty", false, true},      {"missing.txt", false, false},
      {"Missing/file.txt", false, false}, {"file.txt/inner", false, false},
  };
  for (const auto& [path, file, folder] : cases) {
    EXPECT_EQ(shell_->IsExistingFile(At(path)), file) << path;
    EXPECT_EQ(shell_->IsExistingFolder(At(path)), folder) << path;
  }
}

const ShellBackend kFake = {"Fake", [] { return std::make_unique<FakeShell>(); }};

INSTANTIATE_TEST_SUITE_P(Fake, ShellConformance, ::testing::Values(kFake), BackendName);
INSTANTIATE_TEST_SUITE_P(Fake, CopyFolderConformance, ::testing::Values(kFake), BackendName);

}  // namespace
}  // namespace trelik::testing
