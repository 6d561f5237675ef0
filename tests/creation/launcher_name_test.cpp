#include "creation/launcher_name.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct NameCase {
  std::string path;
  std::string projectName;
};

TEST(ExtractProjectName, ReadsTheTemplateNameFromTheExtension) {
  const NameCase cases[] = {
      {"C:\\Work\\New trelik_Web.trelik_Web", "Web"},
      {"C:\\Work\\renamed by user.trelik_Web", "Web"},  // the base name plays no part
      {"C:\\My Work\\x.trelik_My Site", "My Site"},
      {"x.trelik_Caf\xc3\xa9", "Caf\xc3\xa9"},
      {"", ""},                        // started without an argument
      {"C:\\Work\\readme", ""},        // no extension
      {"C:\\Work\\a.trelik", ""},      // the base type carries no name
      {"C:\\Work\\a.TRELIK_Web", ""},  // the match is case-sensitive
      {"C:\\Work\\a.txt", ""},
      {"C:\\Work\\a.trelik_", ""},         // the marker with nothing after it
      {"C:\\Work\\a.xtrelik_Web", "Web"},  // the first occurrence counts, anywhere
      {"C:\\Work\\a.trelik_trelik_Web", "trelik_Web"},
      {"C:\\Work\\a.trelik_v1.2", ""},   // a dot in the name moves the extension
      {"C:\\Work\\a.trelik_Web\\", ""},  // a trailing backslash leaves no file name
      {"C:\\dir.trelik_Web\\file", ""},  // only the file name part's extension counts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractProjectName(c.path, kWindowsSeparators), c.projectName) << c.path;
  }
}

TEST(ExtractProjectName, UsesTheLinuxSeparatorOnLinux) {
  EXPECT_EQ(ExtractProjectName("/home/u/Neu.trelik_Web", kPosixSeparators), "Web");
  EXPECT_EQ(ExtractProjectName("/home/u/dir.trelik_Web/file", kPosixSeparators), "");
  // A backslash is an ordinary character in a Linux file name.
  EXPECT_EQ(ExtractProjectName("/home/u/a.trelik_We\\b", kPosixSeparators), "We\\b");
}

}  // namespace
}  // namespace trelik
