#include "library/file_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

TEST(FileTree, ListsEachEntryWithItsKindAndSize) {
  TempFolder folder;
  WriteFileBytes(folder / "page.htm", "12345");
  fs::create_directory(folder / "css");
  FolderEntries listing = ReadFolderEntries(folder.Path());
  ASSERT_FALSE(listing.failure);
  std::ranges::sort(listing.entries, {}, &FolderEntry::name);
  ASSERT_EQ(listing.entries.size(), 2u);
  EXPECT_EQ(listing.entries[0].name, "css");
  EXPECT_EQ(listing.entries[0].kind, EntryKind::kFolder);
  EXPECT_EQ(listing.entries[1].name, "page.htm");
  EXPECT_EQ(listing.entries[1].kind, EntryKind::kFile);
  EXPECT_EQ(listing.entries[1].size, 5u);
  EXPECT_TRUE(ReadFolderEntries(folder / "missing").failure);
}

// The new content arrives whole, and the file keeps what it was allowed (an executable stays
// executable), except that its user may now write it: a filled-in file is the user's own.
TEST(FileTree, ARewrittenFileKeepsItsPermissionsAndCanBeWrittenByItsUser) {
  TempFolder folder;
  const struct {
    std::string name;
    fs::perms perms;
  } cases[] = {
      {"plain.txt", fs::perms::owner_read | fs::perms::owner_write},
      {"readonly.txt", fs::perms::owner_read},
      {"run.sh", fs::perms::owner_all | fs::perms::group_read | fs::perms::others_exec},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder / c.name;
    WriteFileBytes(path, "old\r\n");
    fs::permissions(path, c.perms);
    const fs::perms before = fs::status(path).permissions();
    EXPECT_FALSE(RewriteFile(path, "new\r\n\xEF\xBB\xBF"));
    EXPECT_EQ(ReadFileBytes(path), "new\r\n\xEF\xBB\xBF");
    const fs::perms after = fs::status(path).permissions();
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    EXPECT_EQ(after & ~write, before & ~write);
    EXPECT_EQ(after & fs::perms::owner_write, fs::perms::owner_write);
    fs::permissions(path, fs::perms::owner_all);
  }
  EXPECT_EQ(ReadFolderEntries(folder.Path()).entries.size(), std::size(cases));  // no leftovers
  EXPECT_TRUE(RewriteFile(folder / "missing.txt", "x"));
}

}  // namespace
}  // namespace trelik
