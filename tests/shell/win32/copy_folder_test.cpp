#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/system_error.h"
#include "file_tree.h"
#include "shell/win32/win32_shell_operations.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::MakeFile;
using testing::MakeFolder;
using testing::MakeTemplateTree;
using testing::Snapshot;
using testing::TempFolder;

class CopyFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(MakeTemplateTree(source_)); }
  void TearDown() override { testing::MakeWritable(temp_.Path()); }

  TempFolder temp_;
  const std::string source_ = temp_ / "Web";
  Win32ShellOperations shell_;
};

TEST_F(CopyFolderTest, CopiesTheWholeTreeWithItsAttributes) {
  MakeFolder(temp_ / "dest");
  const auto before = Snapshot(source_);

  const auto copy = shell_.CopyFolder(nullptr, source_, temp_ / "dest\\").arrivedAt;

  ASSERT_EQ(copy, temp_ / "dest\\Web");
  EXPECT_EQ(Snapshot(*copy), before);
  EXPECT_EQ(Snapshot(source_), before);
  EXPECT_EQ(before.size(), 8u);  // the tree really holds what the copy is checked against
}

struct DestinationCase {
  std::string destDir;  // relative to the temporary folder
  std::string expected;
};

TEST_F(CopyFolderTest, ArrivesInTheDestinationFolderWhateverItsForm) {
  MakeFolder(temp_ / "existing");
  const DestinationCase cases[] = {
      {"existing\\", "existing\\Web"},
      {"existing", "existing\\Web - Copy"},  // no trailing separator; "Web" is taken by now
      {"missing\\deeper\\", "missing\\deeper\\Web"},
      {"absent", "absent\\Web"},
  };
  const auto expectedTree = Snapshot(source_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.destDir);
    const auto copy = shell_.CopyFolder(nullptr, source_, temp_ / c.destDir).arrivedAt;
    ASSERT_EQ(copy, temp_ / c.expected);
    EXPECT_EQ(Snapshot(*copy), expectedTree);
  }
}

TEST_F(CopyFolderTest, TakesTheNextFreeCopyNameAndLeavesTakenNamesAlone) {
  MakeFolder(temp_ / "dest");
  MakeFolder(temp_ / "dest\\Web");
  MakeFile(temp_ / "dest\\Web\\mine.txt", "the user's own file");
  MakeFile(temp_ / "dest\\Web\\index.htm", "the user's own page");
  const auto userFolder = Snapshot(temp_ / "dest\\Web");
  const auto expectedTree = Snapshot(source_);

  const auto first = shell_.CopyFolder(nullptr, source_, temp_ / "dest\\").arrivedAt;
  const auto second = shell_.CopyFolder(nullptr, source_, temp_ / "dest\\").arrivedAt;

  ASSERT_EQ(first, temp_ / "dest\\Web - Copy");
  ASSERT_EQ(second, temp_ / "dest\\Web - Copy (2)");
  EXPECT_EQ(Snapshot(temp_ / "dest\\Web"), userFolder);
  EXPECT_EQ(Snapshot(*first), expectedTree);
  EXPECT_EQ(Snapshot(*second), expectedTree);
}

TEST_F(CopyFolderTest, AFileOfTheSameNameIsLeftAloneToo) {
  MakeFolder(temp_ / "dest");
  MakeFile(temp_ / "dest\\Web", "a file named like the template");

  const auto copy = shell_.CopyFolder(nullptr, source_ + "\\", temp_ / "dest\\").arrivedAt;

  ASSERT_EQ(copy, temp_ / "dest\\Web - Copy");
  EXPECT_EQ(testing::ReadFileBytes(temp_ / "dest\\Web"), "a file named like the template");
  EXPECT_EQ(Snapshot(*copy), Snapshot(source_));
}

TEST_F(CopyFolderTest, CopiesPathsBeyondTheOldLimitOf127Characters) {
  // Both paths pass 127 characters, while the deepest file of the copy stays within MAX_PATH.
  const std::string templateName =
      "a template folder whose name alone carries its path past one hundred twenty-seven bytes";
  const std::string destName =
      "a destination folder whose name also carries its own path past that limit of the shell";
  const std::string longSource = temp_ / templateName;
  const std::string longDestDir = temp_ / destName + "\\";
  ASSERT_GT(longSource.size(), 127u);
  ASSERT_GT(longDestDir.size(), 127u);
  ASSERT_NO_FATAL_FAILURE(MakeTemplateTree(longSource));

  const auto copy = shell_.CopyFolder(nullptr, longSource, longDestDir).arrivedAt;

  ASSERT_EQ(copy, longDestDir + templateName);
  EXPECT_EQ(Snapshot(*copy), Snapshot(longSource));
}

// The copy is built hidden beside its destination, in a folder its process holds open; the
// folders that killed copies left there go first, and nobody else's.
TEST_F(CopyFolderTest, StagesHiddenAndLockedAndClearsOnlyAbandonedStagingFolders) {
  const std::string dest = temp_ / "dest\\";
  // An id names a process long gone, or this one when an earlier process had it.
  const std::string gone[] = {
      ".Web.trelik-copy-99992-Gone99",
      ".Web.trelik-copy-" + std::to_string(GetCurrentProcessId()) + "-Abc123"};
  const std::string kept[] = {".Web.trelik-copy-99996-Held99", ".Web.trelik-copy-x-Abc123",
                              ".other"};
  MakeFolder(dest);
  for (const std::string& name : kept) MakeFolder(dest + name);
  for (const std::string& name : gone) {
    MakeFolder(dest + name);
    MakeFile(dest + name + "\\half.htm", "left by a killed copy");
  }
  const HANDLE held =
      CreateFileA((dest + kept[0]).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  DWORD attributes = 0;
  HANDLE deleter = nullptr;
  const auto copy = shell_.CopyFolder(nullptr, source_, dest, [&](const std::string& path, auto&) {
    attributes = GetFileAttributesA(path.c_str());
    deleter = CreateFileA(path.c_str(), DELETE, 7, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return std::string(path.starts_with(dest + ".Web.trelik-copy-") ? "" : path);
  });
  CloseHandle(held);

  ASSERT_EQ(copy.arrivedAt, dest + "Web") << copy.failure;
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(deleter, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileAttributesA((dest + "Web").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  for (const std::string& name : gone) EXPECT_FALSE(testing::Exists(dest + name)) << name;
  for (const std::string& name : kept) EXPECT_TRUE(testing::Exists(dest + name)) << name;
}

struct FailureCase {
  std::string name;
  std::string source;   // relative to the temporary folder
  std::string destDir;  // relative to the temporary folder
};

TEST_F(CopyFolderTest, FailsWithoutLeavingAnythingBehind) {
  MakeFolder(temp_ / "dest");
  MakeFile(temp_ / "plain file", "not a folder");
  MakeFolder(temp_ / "Web\\projects");
  const FailureCase cases[] = {
      {"missing source", "No Such Template", "dest\\"},
      {"missing source and destination", "No Such Template", "nowhere\\"},
      {"destination below a file", "Web", "plain file\\"},
      {"destination inside the source", "Web", "Web\\projects\\"},
      {"destination is the source", "Web", "Web"},
      {"destination name the system refuses", "Web", "dest\\bad<name>\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = Snapshot(temp_.Path());

    EXPECT_EQ(shell_.CopyFolder(nullptr, temp_ / c.source, temp_ / c.destDir).arrivedAt,
              std::nullopt);

    EXPECT_EQ(Snapshot(temp_.Path()), before);
  }
}

// The progress window is told how far the copy got and is heard when the user stops it: at the
// start, after a file, or inside a large file, nothing of the copy is left; its owner is the
// copy's window, and its last report ends the work.
TEST_F(CopyFolderTest, ReportsProgressAndACancelLeavesNothingBehind) {
  MakeFile(source_ + "\\images\\large.bin", std::string(3 << 20, 'x'));
  MakeFolder(temp_ / "dest");
  const auto owner = reinterpret_cast<NativeWindow>(0x1234);
  std::uint64_t total = 0;
  for (const auto& [path, entry] : Snapshot(source_)) total += entry.contents.size();
  for (const int stopAt : {1, 3, 9, 0}) {
    SCOPED_TRACE(stopAt);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    NativeWindow ownerSeen = nullptr;
    Win32ShellOperations shell([&](NativeWindow window) {
      ownerSeen = window;
      return [&](std::uint64_t done, std::uint64_t all) {
        reports.emplace_back(done, all);
        return static_cast<int>(reports.size()) != stopAt;
      };
    });
    const auto before = Snapshot(temp_.Path());

    const CopyResult result = shell.CopyFolder(owner, source_, temp_ / "dest\\");

    EXPECT_EQ(ownerSeen, owner);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), std::make_pair(total + 1, total + 1));  // the last unit: the flush
    EXPECT_TRUE(std::ranges::is_sorted(reports));
    EXPECT_EQ(result.cancelled, stopAt != 0);
    if (stopAt != 0) {
      EXPECT_EQ(result.arrivedAt, std::nullopt);
      EXPECT_EQ(Snapshot(temp_.Path()), before);
    } else {
      EXPECT_EQ(Snapshot(*result.arrivedAt), Snapshot(source_));
    }
  }
}

// A template file that cannot be read is named with the system's reason.
TEST_F(CopyFolderTest, AFileThatCannotBeReadIsNamedWithTheReason) {
  MakeFolder(temp_ / "dest");
  const std::string locked = source_ + "\\images\\logo.png";
  const HANDLE held =
      CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const auto before = Snapshot(temp_ / "dest");

  const CopyResult result = shell_.CopyFolder(nullptr, source_, temp_ / "dest\\");
  CloseHandle(held);

  EXPECT_EQ(result.arrivedAt, std::nullopt);
  EXPECT_EQ(result.failure,
            SystemErrorText({ERROR_SHARING_VIOLATION, std::system_category()}) + ": " + locked);
  EXPECT_EQ(Snapshot(temp_ / "dest"), before);
}

}  // namespace
}  // namespace trelik
