#include "library/template_source.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace trelik {
namespace {

TEST(TemplateSource, TheTreeIsCountedUpToItsLimitAndLargeOnesAreAskedAbout) {
  const testing::TempFolder folder;
  std::filesystem::create_directories(folder / "a/b");
  testing::WriteFileBytes(folder / "a/b/page.htm", "12345");
  testing::WriteFileBytes(folder / "big", "");
  std::filesystem::resize_file(folder / "big", 100'000'001);
  const TreeSize whole = MeasureTree(folder.Path());
  EXPECT_EQ(std::tuple(whole.entries, whole.bytes, whole.complete),
            std::tuple(4u, 100'000'006u, true));
  const TreeSize cut = MeasureTree(folder.Path(), 2);
  EXPECT_EQ(std::tuple(cut.entries, cut.complete), std::tuple(2u, false));

  EXPECT_TRUE(IsLargeTree(whole));
  EXPECT_FALSE(IsLargeTree({.entries = 1000, .bytes = 100'000'000}));
  EXPECT_TRUE(IsLargeTree({.entries = 1001}));
  const std::pair<TreeSize, std::string> questions[] = {
      {{.entries = 1001}, "1,001 files and folders, 0 KB"},
      {{.entries = 1234567, .bytes = 1500, .complete = false},
       "more than 1,234,567 files and folders, over 2 KB"},
      {{.entries = 5, .bytes = 327'400'000}, "5 files and folders, 327 MB"},
      {{.entries = 5, .bytes = 12'345'000'000}, "5 files and folders, 12.3 GB"}};
  for (const auto& [size, text] : questions) {
    EXPECT_EQ(LargeTreeQuestion("F", size),
              "\"F\" is large: " + text + ".\nCopy all of it into the template store?");
  }
}

}  // namespace
}  // namespace trelik
