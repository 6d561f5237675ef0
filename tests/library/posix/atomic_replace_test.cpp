// A save that fails half-way must leave the old file whole and no temporary file behind. The
// failure is forced with a file size limit, which also works for root. What is not a regular
// file of bounded size is never read to its end, nor written over.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <optional>

#include "common/error.h"
#include "library/file_access.h"
#include "library/ini_file.h"
#include "library/template_list.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "support/unreadable_file.h"

namespace trelik {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

std::size_t EntriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicReplace, AFailedListSaveKeepsTheOldFile) {
  TempFolder folder;
  const std::string path = folder / "projects.lib";
  WriteFileBytes(path, "Web\r\nScript\r\n");
  const std::vector<std::string> large(1000, std::string(100, 'x'));
  {
    testing::FileSizeLimit limit(4096);
    try {
      SaveTemplateList(path, large);
      FAIL() << "no error";
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), "Stream write error");
    }
  }
  EXPECT_EQ(ReadFileBytes(path), "Web\r\nScript\r\n");
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicReplace, AFailedSettingsWriteKeepsTheOldFile) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  settings.WriteText("mainfile", "Web", "index.htm");
  const std::string before = ReadFileBytes(settings.Path());
  {
    testing::FileSizeLimit limit(4096);
    EXPECT_THROW(settings.WriteText("mainfile", "Big", std::string(10000, 'x')), Error);
  }
  EXPECT_EQ(ReadFileBytes(settings.Path()), before);
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicReplace, KeepsTheFileModeAndWritesThroughALink) {
  TempFolder folder;
  const std::string real = folder / "real.lib";
  WriteFileBytes(real, "old\r\n");
  std::filesystem::permissions(real, std::filesystem::perms(0640));
  std::filesystem::create_symlink(real, folder / "projects.lib");
  SaveTemplateList(folder / "projects.lib", {"new"});
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "projects.lib"));
  EXPECT_EQ(ReadFileBytes(real), "new\r\n");
  EXPECT_EQ(std::filesystem::status(real).permissions(), std::filesystem::perms(0640));
}

TEST(AtomicReplace, CreatesTheMissingDataFolder) {
  TempFolder folder;
  TIniFile settings(folder / "share/trelik/trelik.ini");
  settings.WriteText("mainfile", "Web", "index.htm");
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "index.htm");
}

TEST(AtomicReplace, OwnFilesThatAreNoRegularFilesOfBoundedSizeAreRefusedAndKept) {
  TempFolder folder;
  const std::string path = folder / "own";
  for (const std::string what : {"/dev/zero", "fifo", "folder", "unreadable", "too large"}) {
    std::optional<testing::UnreadableFile> unreadable;
    if (what == "/dev/zero") std::filesystem::create_symlink(what, path);
    if (what == "fifo") ::mkfifo(path.c_str(), 0600);
    if (what == "folder") std::filesystem::create_directory(path);
    if (what == "unreadable") unreadable.emplace(path);
    if (what == "too large") {
      WriteFileBytes(path, "x");
      std::filesystem::resize_file(path, kOwnFileLimit + 1);
    }
    const auto kind = std::filesystem::symlink_status(path).type();
    std::vector<std::string> list{"kept"};
    EXPECT_THROW(LoadTemplateListIfAny(path, list), Error) << what;
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
    EXPECT_TRUE(TIniFile(path).ReadProblem()) << what;
    EXPECT_THROW(TIniFile(path).WriteText("mainfile", "Web", "index.htm"), Error) << what;
    EXPECT_EQ(std::filesystem::symlink_status(path).type(), kind) << what;
    unreadable.reset();
    std::filesystem::remove_all(path);
  }
}

}  // namespace
}  // namespace trelik
