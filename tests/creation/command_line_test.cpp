#include "creation/command_line.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct CommandLineCase {
  std::string commandLine;
  std::vector<std::string> items;
};

TEST(SplitCommandLine, FollowsTheQuotingRule) {
  const CommandLineCase cases[] = {
      {"", {}},
      {"trelik.exe", {"trelik.exe"}},
      {"\"C:\\Program Files\\trelik.exe\" \"C:\\My Work\\New.trelik_Web\"",
       {"C:\\Program Files\\trelik.exe", "C:\\My Work\\New.trelik_Web"}},
      {"trelik.exe C:\\My Work\\x.trelik_Web", {"trelik.exe", "C:\\My", "Work\\x.trelik_Web"}},
      {"  a \t\r\n b\x01"
       "c  ",
       {"a", "b", "c"}},                // codes 1 to 32 separate
      {"a\"b c\"d e", {"ab cd", "e"}},  // a quoted stretch inside an item
      {"a \"\" b", {"a", "b"}},         // an empty pair where an item begins
      {"a \"\"\"\"b", {"a", "b"}},
      {"a x\"\"y", {"a", "xy"}},  // inside an item the pair is just dropped
      {"a \"unterminated quote", {"a", "unterminated quote"}},
      {"a \"\\\"b", {"a", "\\b"}},             // no escape character
      {std::string("a b\0c", 5), {"a", "b"}},  // the text ends at a NUL
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.commandLine), c.items) << c.commandLine;
  }
}

TEST(SplitCommandLine, LauncherPathIsTheSecondItem) {
  EXPECT_EQ(LauncherPathFromCommandLine("\"C:\\t\\trelik.exe\" \"C:\\a b\\N.trelik_Web\""),
            "C:\\a b\\N.trelik_Web");
  EXPECT_EQ(LauncherPathFromCommandLine("trelik.exe"), "");
  EXPECT_EQ(LauncherPathFromCommandLine("trelik.exe first second"), "first");
  EXPECT_EQ(LauncherPathFromCommandLine("trelik.exe \"\""), "");
}

}  // namespace
}  // namespace trelik
