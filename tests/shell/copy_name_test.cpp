#include "shell/copy_name.h"

#include <gtest/gtest.h>

#include <set>

namespace trelik {
namespace {

struct CopyNameCase {
  std::set<std::string> taken;
  std::string expected;
};

TEST(FreeCopyName, NamesCopiesTheWayExplorerDoes) {
  const CopyNameCase cases[] = {
      {{}, "Web"},
      {{"Other"}, "Web"},
      {{"Web"}, "Web - Copy"},
      {{"Web", "Web - Copy"}, "Web - Copy (2)"},
      {{"Web", "Web - Copy", "Web - Copy (2)", "Web - Copy (3)"}, "Web - Copy (4)"},
      {{"Web", "Web - Copy (2)"}, "Web - Copy"},  // the first free name wins
  };
  for (const auto& c : cases) {
    const auto isTaken = [&](const std::string& name) { return c.taken.contains(name); };
    EXPECT_EQ(FreeCopyName("Web", isTaken), c.expected);
  }
}

}  // namespace
}  // namespace trelik
