#include "library/posix/user_dirs.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

TEST(UserDirs, TheDesktopIsReadAsTheShellWouldReadTheFile) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/home/u/Desktop"},
      {"# comment\n  XDG_DESKTOP_DIR=\"/data/Bureau\"\r\n", "/data/Bureau"},
      {"XDG_DESKTOP_DIR=/a\nXDG_DESKTOP_DIR=\"$HOME/b\"", "/home/u/b"},
      {"XDG_DESKTOP_DIRS=\"/x\"\n#XDG_DESKTOP_DIR=\"/y\"\nXDG_TEMPLATES_DIR=\"/z\"", std::nullopt},
      {"XDG_DESKTOP_DIR=\"Desktop\"", std::nullopt}};
  for (const auto& [file, folder] : cases) {
    EXPECT_EQ(UserDirsFolder(file, "XDG_DESKTOP_DIR", "/home/u"), folder) << file;
  }
}

}  // namespace
}  // namespace trelik
