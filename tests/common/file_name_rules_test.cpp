#include "common/file_name_rules.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct NameCase {
  std::string name;
  bool fineOnWindows;
  bool fineOnLinux;
};

TEST(FileNameProblem, RefusesWhatWouldLeaveTheFolderOrCannotBeAName) {
  const NameCase cases[] = {
      {"Site", true, true},        {"My Site 2", true, true}, {"index.old", true, true},
      {"Caf\xc3\xa9", true, true}, {".", false, false},       {"..", false, false},
      {"...", false, true},        {".hidden", true, true},   {"a/b", false, false},
      {"a\\b", false, true},       {"C:", false, true},       {"a*b", false, true},
      {"a?b", false, true},        {"a\"b", false, true},     {"a<b>", false, true},
      {"a|b", false, true},        {"a\tb", false, false},    {"a\x7f", false, false},
      {"a\nb", false, false},      {"x.", false, true},       {".. ", false, true},
      {"a ", false, true},         {" a", true, true},        {"a.b", true, true},
      {"CON", false, true},        {"nul.txt", false, true},  {"Aux.tar.gz", false, true},
      {"prn .x", false, true},     {"com1", false, true},     {"LPT9.htm", false, true},
      {"COM0", true, true},        {"LPT10", true, true},     {"CONSOLE", true, true},
      {"xNUL", true, true},        {"NUL_", true, true},      {"a.CON", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(!FileNameProblem(c.name, kWindowsSeparators), c.fineOnWindows) << c.name;
    EXPECT_EQ(!FileNameProblem(c.name, kPosixSeparators), c.fineOnLinux) << c.name;
  }
}

TEST(FileNameProblem, SaysWhy) {
  EXPECT_EQ(FileNameProblem("..", kPosixSeparators),
            "\"..\" stands for a folder that exists already");
  EXPECT_EQ(FileNameProblem("a/b", kPosixSeparators), "file names cannot hold \"/\"");
  EXPECT_EQ(FileNameProblem("a\nb", kPosixSeparators), "file names cannot hold control characters");
  EXPECT_EQ(FileNameProblem("x.", kWindowsSeparators), "file names cannot end in a dot or a blank");
  EXPECT_EQ(FileNameProblem("Com3.htm", kWindowsSeparators), "\"Com3\" names a device");
}

}  // namespace
}  // namespace trelik
