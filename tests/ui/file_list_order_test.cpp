#include "ui/file_list_order.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

TEST(FileListOrder, FilesBeforeFoldersEachInTheFileManagersOrder) {
  struct Case {
    std::vector<ListedEntry> entries;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {{{"b.htm"}, {"A.htm"}, {"c.htm"}}, {"A.htm", "b.htm", "c.htm"}},
      {{{"page10.htm"}, {"page2.htm"}, {"page1.htm"}}, {"page1.htm", "page2.htm", "page10.htm"}},
      {{{"v010"}, {"v9"}, {"v10a"}}, {"v9", "v010", "v10a"}},
      {{{"css", true}, {"index.htm"}, {"Assets", true}, {"about.htm"}},
       {"about.htm", "index.htm", "Assets|", "css|"}},
      {{{"readme"}, {"README"}, {"Readme"}}, {"README", "Readme", "readme"}},
      {{{"a"}, {"a1"}, {"a 1"}, {"\xC3\xA9t\xC3\xA9"}, {"z"}},
       {"a", "a 1", "a1", "z", "\xC3\xA9t\xC3\xA9"}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileListOrder(c.entries, '|'), c.shown) << c.shown.size();
  }
}

}  // namespace
}  // namespace trelik
