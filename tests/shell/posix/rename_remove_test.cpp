// Renames never replace an entry, on file systems with RENAME_NOREPLACE, through the fallback
// used on those without it, and on those without hard links either; RemoveFile deletes files
// only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "shell/posix/posix_shell_operations.h"
#include "shell/posix/rename_no_replace.h"
#include "support/temp_folder.h"
#include "test_files.h"

// While set, this program's renames and links answer as on a file system that knows neither
// RENAME_NOREPLACE nor hard links (exFAT through FUSE, some network shares).
bool linkless = false;

extern "C" int renameat2(int oldDir, const char* oldName, int newDir, const char* newName,
                         unsigned flags) {
  if (linkless && flags != 0) return errno = EINVAL, -1;
  return static_cast<int>(::syscall(SYS_renameat2, oldDir, oldName, newDir, newName, flags));
}

extern "C" int linkat(int oldDir, const char* oldName, int newDir, const char* newName, int flags) {
  if (linkless) return errno = EPERM, -1;
  return static_cast<int>(::syscall(SYS_linkat, oldDir, oldName, newDir, newName, flags));
}

namespace trelik {
namespace {

using testing::Examine;
using testing::MakeFile;
using testing::MakeFolder;
using testing::MakeLink;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TreeEntries;

using Rename =
    std::function<std::error_code(const std::string& oldPath, const std::string& newPath)>;

struct Renamer {
  std::string name;
  Rename rename;
};

std::vector<Renamer> Renamers() {
  return {
      {"RenamePath",
       [](const std::string& oldPath, const std::string& newPath) {
         PosixShellOperations shell({}, {}, {});
         return shell.RenamePath(oldPath, newPath);
       }},
      {"fallback",
       [](const std::string& oldPath, const std::string& newPath) {
         return RenameNoReplaceFallback(AT_FDCWD, oldPath, AT_FDCWD, newPath);
       }},
      {"without links",
       [](const std::string& oldPath, const std::string& newPath) {
         linkless = true;
         const std::error_code error =
             PosixShellOperations({}, {}, {}).RenamePath(oldPath, newPath);
         linkless = false;
         return error;
       }},
  };
}

// Each case starts from a folder holding: file.txt ("file"), other.txt ("other"), Project/
// with main.htm, and empty/.
void MakeEntries(const TempFolder& folder) {
  MakeFile(folder / "file.txt", "file");
  MakeFile(folder / "other.txt", "other");
  MakeFolder(folder / "Project");
  MakeFile(folder / "Project/main.htm", "main");
  MakeFolder(folder / "empty");
}

TEST(RenamePath, RefusesEveryTakenNameAndChangesNothing) {
  struct Case {
    std::string from;
    std::string to;
    std::errc why;
  };
  const Case cases[] = {
      {"file.txt", "other.txt", std::errc::file_exists},  // rename(2) would replace the file
      {"Project", "empty", std::errc::file_exists},  // rename(2) would replace the empty folder
      {"file.txt", "empty", std::errc::file_exists},
      {"Project", "other.txt", std::errc::file_exists},
      {"missing", "new", std::errc::no_such_file_or_directory},
  };
  for (const Renamer& renamer : Renamers()) {
    for (const Case& c : cases) {
      TempFolder folder;
      MakeEntries(folder);
      const auto before = TreeEntries(folder.Path());

      EXPECT_EQ(renamer.rename(folder / c.from, folder / c.to), c.why)
          << renamer.name << ": " << c.from << " -> " << c.to;

      EXPECT_EQ(TreeEntries(folder.Path()), before)
          << renamer.name << ": " << c.from << " -> " << c.to;
      EXPECT_EQ(ReadFileBytes(folder / "file.txt"), "file");
      EXPECT_EQ(ReadFileBytes(folder / "other.txt"), "other");
    }
  }
}

TEST(RenamePath, MovesFilesFoldersAndLinksToFreeNames) {
  for (const Renamer& renamer : Renamers()) {
    TempFolder folder;
    MakeEntries(folder);
    MakeLink(folder / "link", "Project");

    EXPECT_FALSE(renamer.rename(folder / "file.txt", folder / "renamed.txt")) << renamer.name;
    EXPECT_FALSE(renamer.rename(folder / "Project", folder / "MyProject")) << renamer.name;
    EXPECT_FALSE(renamer.rename(folder / "link", folder / "MyLink")) << renamer.name;

    EXPECT_EQ(TreeEntries(folder.Path()),
              (std::set<std::string>{"renamed.txt", "other.txt", "MyProject", "MyProject/main.htm",
                                     "empty", "MyLink"}))
        << renamer.name;
    EXPECT_EQ(ReadFileBytes(folder / "renamed.txt"), "file");
    EXPECT_TRUE(S_ISLNK(Examine(folder / "MyLink").st_mode)) << renamer.name;
  }
}

TEST(RemoveFile, DeletesFilesAndLinksButNeverFolders) {
  TempFolder folder;
  MakeEntries(folder);
  MakeLink(folder / "link", "Project");
  PosixShellOperations shell({}, {}, {});

  EXPECT_TRUE(shell.RemoveFile(folder / "file.txt"));
  EXPECT_TRUE(shell.RemoveFile(folder / "link"));
  EXPECT_FALSE(shell.RemoveFile(folder / "empty"));
  EXPECT_FALSE(shell.RemoveFile(folder / "Project"));
  EXPECT_FALSE(shell.RemoveFile(folder / "missing"));

  EXPECT_EQ(TreeEntries(folder.Path()),
            (std::set<std::string>{"other.txt", "Project", "Project/main.htm", "empty"}));
}

}  // namespace
}  // namespace trelik
