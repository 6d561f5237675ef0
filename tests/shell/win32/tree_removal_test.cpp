// Removing an unfinished copy must work on whatever the copy brought along.
#include "shell/win32/tree_removal.h"

#include <gtest/gtest.h>

#include "file_tree.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::Exists;
using testing::MakeFile;
using testing::MakeFolder;
using testing::TempFolder;

class TreeRemovalTest : public ::testing::Test {
 protected:
  void TearDown() override { testing::MakeWritable(temp_.Path()); }

  TempFolder temp_;
};

TEST_F(TreeRemovalTest, RemovesAFolderWithReadOnlyHiddenAndSystemEntries) {
  ASSERT_NO_FATAL_FAILURE(testing::MakeTemplateTree(temp_ / "Web"));
  MakeFile(temp_ / "Web\\images\\locked.png", "read-only in a subfolder", FILE_ATTRIBUTE_READONLY);
  MakeFolder(temp_ / "Web - Copy");
  MakeFile(temp_ / "Web - Copy\\keep.txt", "a neighbour");

  EXPECT_TRUE(RemoveTree(temp_ / "Web"));

  EXPECT_FALSE(Exists(temp_ / "Web"));
  EXPECT_EQ(testing::ReadFileBytes(temp_ / "Web - Copy\\keep.txt"), "a neighbour");
}

TEST_F(TreeRemovalTest, RemovesASingleReadOnlyFile) {
  MakeFile(temp_ / "Web", "a file where a folder was expected", FILE_ATTRIBUTE_READONLY);

  EXPECT_TRUE(RemoveTree(temp_ / "Web"));

  EXPECT_FALSE(Exists(temp_ / "Web"));
}

TEST_F(TreeRemovalTest, ReportsFalseWhenNothingIsThere) {
  EXPECT_FALSE(RemoveTree(temp_ / "Missing"));
}

}  // namespace
}  // namespace trelik
