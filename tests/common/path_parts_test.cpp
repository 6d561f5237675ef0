#include "common/path_parts.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct PathCase {
  std::string path;
  std::string directory;
  std::string fileName;
  std::string extension;
};

void ExpectParts(const PathCase& c, const PathSeparators& separators) {
  EXPECT_EQ(DirectoryPart(c.path, separators), c.directory) << c.path;
  EXPECT_EQ(FileNamePart(c.path, separators), c.fileName) << c.path;
  EXPECT_EQ(ExtensionPart(c.path, separators), c.extension) << c.path;
}

TEST(PathParts, WindowsBackslashAndColonEndTheDirectory) {
  const PathCase cases[] = {
      {"C:\\Work\\New.trelik_Web", "C:\\Work\\", "New.trelik_Web", ".trelik_Web"},
      {"C:\\My Projects\\a b.trelik_My Site", "C:\\My Projects\\", "a b.trelik_My Site",
       ".trelik_My Site"},
      {"C:file.txt", "C:", "file.txt", ".txt"},
      {"C:\\dir.d\\file", "C:\\dir.d\\", "file", ""},  // the dot is followed by a backslash
      {"C:\\dir\\", "C:\\dir\\", "", ""},
      {"file.tar.gz", "", "file.tar.gz", ".gz"},
      {"noextension", "", "noextension", ""},
      {".trelik", "", ".trelik", ".trelik"},
      {"a/b.c", "", "a/b.c", ".c"},  // a slash is no separator on Windows
      {"", "", "", ""},
  };
  for (const auto& c : cases) ExpectParts(c, kWindowsSeparators);
}

TEST(PathParts, PosixSlashEndsTheDirectory) {
  const PathCase cases[] = {
      {"/home/u/New.trelik_Web", "/home/u/", "New.trelik_Web", ".trelik_Web"},
      {"/home/u/My Projects/x.trelik_My Site", "/home/u/My Projects/", "x.trelik_My Site",
       ".trelik_My Site"},
      {"/srv/dir.d/file", "/srv/dir.d/", "file", ""},
      {"/srv/dir/", "/srv/dir/", "", ""},
      {"C:file.txt", "", "C:file.txt", ".txt"},  // a colon is an ordinary character on Linux
      {"back\\slash.txt", "", "back\\slash.txt", ".txt"},
      {"/", "/", "", ""},
  };
  for (const auto& c : cases) ExpectParts(c, kPosixSeparators);
}

struct FolderCase {
  std::string path;
  std::string withoutTrailing;
  std::string lastComponent;
  std::string joinedWithName;  // JoinPath(path, "n")
};

void ExpectFolderHelpers(const FolderCase& c, const PathSeparators& separators) {
  SCOPED_TRACE(c.path);
  EXPECT_EQ(WithoutTrailingSeparators(c.path, separators), c.withoutTrailing);
  EXPECT_EQ(LastComponent(c.path, separators), c.lastComponent);
  EXPECT_EQ(JoinPath(c.path, "n", separators), c.joinedWithName);
}

TEST(PathParts, WindowsFolderPathsTakeBackslashAndSlashAtTheirEnd) {
  const FolderCase cases[] = {
      {"C:\\Work\\Site", "C:\\Work\\Site", "Site", "C:\\Work\\Site\\n"},
      {"C:\\Work\\Site\\", "C:\\Work\\Site", "Site", "C:\\Work\\Site\\n"},
      {"C:\\Work\\Site/\\/", "C:\\Work\\Site", "Site", "C:\\Work\\Site/\\/n"},
      {"C:\\", "C:", "", "C:\\n"},
      {"C:", "C:", "", "C:n"},  // a drive-relative path takes the name as it is
      {"\\", "\\", "", "\\n"},
      {"\\\\", "\\", "", "\\\\n"},
      {"/", "", "", "/n"},  // a slash is no root on Windows
      {"Site", "Site", "Site", "Site\\n"},
      {"", "", "", "n"},
  };
  for (const auto& c : cases) ExpectFolderHelpers(c, kWindowsSeparators);
}

TEST(PathParts, PosixFolderPathsKeepTheirRoot) {
  const FolderCase cases[] = {
      {"/home/u/Site", "/home/u/Site", "Site", "/home/u/Site/n"},
      {"/home/u/Site//", "/home/u/Site", "Site", "/home/u/Site//n"},
      {"/", "/", "", "/n"},
      {"///", "/", "", "///n"},
      {"Site\\", "Site\\", "Site\\", "Site\\/n"},  // a backslash is an ordinary character
      {"C:", "C:", "C:", "C:/n"},
      {"", "", "", "n"},
  };
  for (const auto& c : cases) ExpectFolderHelpers(c, kPosixSeparators);
}

}  // namespace
}  // namespace trelik
