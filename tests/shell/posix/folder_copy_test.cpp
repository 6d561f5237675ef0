// CopyFolder on real folders: what arrives, under which name, and that a failed copy leaves
// nothing behind. The tests run as root in CI, so failures are forced by kinds of entries that
// cannot be copied and by a file size limit, never by permissions.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/posix/unique_fd.h"
#include "shell/posix/posix_shell_operations.h"
#include "shell/posix/tree_removal.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "test_files.h"

namespace trelik {
namespace {

using testing::Examine;
using testing::MakeFile;
using testing::MakeFolder;
using testing::MakeLink;
using testing::ReadFileBytes;
using testing::SetTimes;
using testing::TempFolder;
using testing::TreeEntries;

CopyResult CopyWithResult(const std::string& source, const std::string& destDir,
                          CopyProgressCallback onProgress = {}) {
  PosixShellOperations shell({}, {}, std::move(onProgress));
  return shell.CopyFolder(nullptr, source, destDir);
}

std::optional<std::string> Copy(const std::string& source, const std::string& destDir,
                                CopyProgressCallback onProgress = {}) {
  return CopyWithResult(source, destDir, std::move(onProgress)).arrivedAt;
}

// A template folder with a bit of everything: hidden and read-only files, an executable, an
// empty folder, nested folders, a link and a dangling link, all with distinct times.
void MakeTemplate(const std::string& web) {
  MakeFolder(web, 0755);
  MakeFile(web + "/index.htm", "<html></html>", 0644);
  MakeFile(web + "/.hidden", "secret", 0600);
  MakeFile(web + "/readonly.txt", "keep me", 0444);
  MakeFile(web + "/build.sh", "#!/bin/sh\n", 0755);
  MakeFolder(web + "/empty", 0700);
  MakeFolder(web + "/sub", 0750);
  MakeFolder(web + "/sub/deeper", 0555);
  MakeFile(web + "/sub/file.txt", "nested", 0640);
  MakeLink(web + "/link", "sub/file.txt");
  MakeLink(web + "/broken", "nowhere");
  long seconds = 1'500'000'000;
  for (const char* name : {"/index.htm", "/.hidden", "/readonly.txt", "/build.sh", "/empty",
                           "/sub/file.txt", "/sub/deeper", "/sub", "/link", "/broken", ""}) {
    SetTimes(web + name, seconds += 3600, 123'456'789);
  }
}

void ExpectSameEntry(const std::string& original, const std::string& copy) {
  const struct stat from = Examine(original);
  const struct stat to = Examine(copy);
  // Folders are the user's to write in: the copy is filled and renamed inside.
  EXPECT_EQ(S_ISDIR(from.st_mode) ? from.st_mode | S_IWUSR : from.st_mode, to.st_mode) << copy;
  EXPECT_EQ(from.st_mtim.tv_sec, to.st_mtim.tv_sec) << copy;
  EXPECT_EQ(from.st_mtim.tv_nsec, to.st_mtim.tv_nsec) << copy;
  EXPECT_NE(from.st_ino, to.st_ino) << copy;
  if (S_ISREG(from.st_mode)) {
    EXPECT_EQ(ReadFileBytes(original), ReadFileBytes(copy)) << copy;
  }
  if (S_ISLNK(from.st_mode)) {
    char fromTarget[256] = {};
    char toTarget[256] = {};
    ASSERT_GT(::readlink(original.c_str(), fromTarget, sizeof fromTarget - 1), 0);
    ASSERT_GT(::readlink(copy.c_str(), toTarget, sizeof toTarget - 1), 0);
    EXPECT_STREQ(fromTarget, toTarget) << copy;
  }
}

TEST(CopyFolder, CopiesEveryEntryWithItsModeTimeAndContent) {
  TempFolder folder;
  MakeTemplate(folder / "Web");
  MakeFolder(folder / "store");

  const auto arrived = Copy(folder / "Web", folder / "store/");

  ASSERT_EQ(arrived, folder / "store/Web");
  const auto entries = TreeEntries(folder / "Web");
  EXPECT_EQ(TreeEntries(*arrived), entries);
  EXPECT_EQ(entries.size(), 10u);
  ExpectSameEntry(folder / "Web", *arrived);
  for (const std::string& entry : entries) {
    ExpectSameEntry(folder / ("Web/" + entry), *arrived + "/" + entry);
  }
  EXPECT_TRUE(S_ISLNK(Examine(*arrived + "/link").st_mode));
  EXPECT_EQ(Examine(*arrived + "/readonly.txt").st_mode & 07777, 0444u);
  EXPECT_EQ(Examine(*arrived + "/sub/deeper").st_mode & 07777, 0755u);
  EXPECT_EQ(TreeEntries(folder / "store").size(), entries.size() + 1) << "a temporary is left";
}

TEST(CopyFolder, DropsSetUserAndGroupIdBits) {
  TempFolder folder;
  MakeFolder(folder / "Tool");
  MakeFile(folder / "Tool/run", "#!/bin/sh\n", 06755);

  const auto arrived = Copy(folder / "Tool", folder / "store");

  ASSERT_EQ(arrived, folder / "store/Tool");
  EXPECT_EQ(Examine(*arrived + "/run").st_mode & 07777, 0755u);
}

TEST(CopyFolder, TakesTheNextFreeCopyNameAndLeavesExistingEntriesAlone) {
  TempFolder folder;
  MakeFolder(folder / "templates");
  MakeTemplate(folder / "templates/Web");
  MakeFolder(folder / "project");
  MakeFolder(folder / "project/Web");
  MakeFile(folder / "project/Web/mine.txt", "the user's own");

  EXPECT_EQ(Copy(folder / "templates/Web", folder / "project/"), folder / "project/Web - Copy");
  EXPECT_EQ(Copy(folder / "templates/Web", folder / "project/"), folder / "project/Web - Copy (2)");

  EXPECT_EQ(TreeEntries(folder / "project/Web"), std::set<std::string>{"mine.txt"});
  EXPECT_EQ(ReadFileBytes(folder / "project/Web/mine.txt"), "the user's own");
  EXPECT_EQ(TreeEntries(folder / "project/Web - Copy (2)"), TreeEntries(folder / "templates/Web"));
  // A copy into the folder that holds the source meets the source's own name.
  EXPECT_EQ(Copy(folder / "templates/Web", folder / "templates"), folder / "templates/Web - Copy");
}

TEST(CopyFolder, AnyEntryTakesTheName) {
  const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> takers = {
      {"file", [](const std::string& path) { MakeFile(path, "x"); }},
      {"dangling link", [](const std::string& path) { MakeLink(path, "nowhere"); }},
      {"link to a folder", [](const std::string& path) { MakeLink(path, "/"); }},
  };
  for (const auto& [kind, makeTaker] : takers) {
    TempFolder folder;
    MakeFolder(folder / "Web");
    MakeFolder(folder / "out");
    makeTaker(folder / "out/Web");
    const struct stat before = Examine(folder / "out/Web");

    EXPECT_EQ(Copy(folder / "Web", folder / "out"), folder / "out/Web - Copy") << kind;
    EXPECT_EQ(Examine(folder / "out/Web").st_ino, before.st_ino) << kind;
  }
}

TEST(CopyFolder, CreatesAMissingDestination) {
  TempFolder folder;
  MakeTemplate(folder / "Web");

  EXPECT_EQ(Copy(folder / "Web", folder / "a/b/c/"), folder / "a/b/c/Web");
  EXPECT_EQ(Copy(folder / "Web/", folder / "x/y"), folder / "x/y/Web");
  EXPECT_EQ(TreeEntries(folder / "x/y/Web"), TreeEntries(folder / "Web"));
}

TEST(CopyFolder, RefusesWhatCannotBeCopiedAndCreatesNothing) {
  struct Case {
    std::string what;
    std::string source;
    std::string destDir;
    std::string failure;  // how the reason begins
  };
  const Case cases[] = {
      {"missing source", "Missing", "out/", "No such file or directory: /"},
      {"source is a file", "file.txt", "out/", "Not a directory: /"},
      {"source names no folder", "Web/..", "out/", "\""},
      {"destination is a file", "Web", "file.txt/", "Not a directory: /"},
      {"destination is the source", "Web", "Web/", "a folder cannot be copied into itself"},
      {"destination inside the source", "Web", "Web/sub/new/",
       "a folder cannot be copied into itself"},
      {"destination inside the source through a link", "Web", "alias/new",
       "a folder cannot be copied into itself"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    MakeTemplate(folder / "Web");
    MakeFile(folder / "file.txt", "text");
    MakeLink(folder / "alias", "Web/sub");
    const auto before = TreeEntries(folder.Path());

    bool started = false;
    const auto result =
        CopyWithResult(folder / c.source, folder / c.destDir,
                       [&started](std::uint64_t, std::uint64_t) { return started = true; });

    EXPECT_EQ(result.arrivedAt, std::nullopt) << c.what;
    EXPECT_TRUE(result.failure.starts_with(c.failure)) << c.what << ": " << result.failure;
    EXPECT_FALSE(started) << c.what << ": refused only after starting";
    EXPECT_EQ(TreeEntries(folder.Path()), before) << c.what;
  }
}

void MakeSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

TEST(CopyFolder, AFailureHalfWayRemovesThePartialCopy) {
  struct Case {
    std::string what;
    std::function<void(const std::string&)> spoil;  // given the template folder
    rlim_t fileSizeLimit;
    std::string failure;  // how the reason begins
  };
  const Case cases[] = {
      {"a socket", [](const std::string& web) { MakeSocket(web + "/sub/socket"); }, RLIM_INFINITY,
       "\"sub/socket\" is a socket and cannot be copied"},
      {"a pipe", [](const std::string& web) { ::mkfifo((web + "/sub/pipe").c_str(), 0644); },
       RLIM_INFINITY, "\"sub/pipe\" is a pipe and cannot be copied"},
      {"a file too large to write",
       [](const std::string& web) { MakeFile(web + "/sub/large.bin", std::string(1 << 20, 'x')); },
       64 << 10, "File too large: /"},
  };
  for (const Case& c : cases) {
    for (const std::string destDir : {"store/", "new/folders/"}) {
      TempFolder folder;
      MakeTemplate(folder / "Web");
      c.spoil(folder / "Web");
      MakeFolder(folder / "store");
      MakeFile(folder / "store/Other", "kept");
      const auto before = TreeEntries(folder.Path());

      CopyResult result;
      std::pair<std::uint64_t, std::uint64_t> lastReport{0, 1};
      {
        testing::FileSizeLimit limit(c.fileSizeLimit);
        result = CopyWithResult(folder / "Web", folder / destDir,
                                [&lastReport](std::uint64_t done, std::uint64_t total) {
                                  lastReport = {done, total};
                                  return true;
                                });
      }

      EXPECT_EQ(result.arrivedAt, std::nullopt) << c.what << " into " << destDir;
      EXPECT_TRUE(result.failure.starts_with(c.failure)) << c.what << ": " << result.failure;
      EXPECT_EQ(lastReport.first, lastReport.second) << "the progress window would stay open";
      EXPECT_EQ(TreeEntries(folder.Path()), before) << c.what << " into " << destDir;
    }
  }
}

// A copy killed half-way leaves its staging folder; the next copy into that folder removes it,
// but never one whose owner still runs or holds it, nor anything else.
TEST(CopyFolder, RemovesStagingFoldersThatKilledCopiesLeft) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getpid());

  TempFolder folder;
  MakeTemplate(folder / "Web");
  MakeFolder(folder / "out");
  const std::string abandoned = ".Web.trelik-copy-" + dead + "-aB3xY9";
  MakeFolder(folder / "out/" + abandoned);
  MakeFolder(folder / "out/" + abandoned + "/sub", 0500);
  MakeFile(folder / "out/" + abandoned + "/sub/index.htm", "half");
  const std::string kept[] = {
      ".Web.trelik-copy-" + alive + "-aB3xY9", ".Locked.trelik-copy-" + dead + "-aB3xY9",
      ".Web.trelik-copy-" + dead + "-aB3", "Web.trelik-copy-" + dead + "-aB3xY9",
      ".File.trelik-copy-" + dead + "-aB3xY9"};
  for (const auto& name : kept) MakeFolder(folder / "out/" + name);
  ::rmdir((folder / "out/" + kept[4]).c_str());
  MakeFile(folder / "out/" + kept[4], "a file of that form");
  const UniqueFd locked(::open((folder / "out/" + kept[1]).c_str(), O_RDONLY | O_DIRECTORY));
  ASSERT_EQ(::flock(locked.Get(), LOCK_EX), 0);

  ASSERT_EQ(Copy(folder / "Web", folder / "out"), folder / "out/Web");
  EXPECT_FALSE(std::filesystem::exists(folder / "out/" + abandoned));
  for (const auto& name : kept)
    EXPECT_TRUE(std::filesystem::exists(folder / "out/" + name)) << name;
}

TEST(CopyFolder, ReportsProgressInBytesUpToTheTotal) {
  TempFolder folder;
  MakeFolder(folder / "Big");
  MakeFolder(folder / "Big/files");
  std::uint64_t expectedTotal = 0;
  for (int index = 0; index < 300; ++index) {
    const std::string bytes(1000 + index, 'a');
    MakeFile(folder / ("Big/files/" + std::to_string(index)), bytes);
    expectedTotal += bytes.size();
  }
  MakeFile(folder / "Big/large.bin", std::string(20 << 20, 'b'));
  expectedTotal += 20 << 20;
  MakeLink(folder / "Big/link", "large.bin");

  std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
  const auto arrived =
      Copy(folder / "Big", folder / "out", [&reports](std::uint64_t done, std::uint64_t total) {
        reports.emplace_back(done, total);
        return true;
      });

  ASSERT_TRUE(arrived.has_value());
  ASSERT_GE(reports.size(), 3u);
  EXPECT_EQ(reports.front(), std::make_pair(std::uint64_t{0}, expectedTotal));
  EXPECT_EQ(reports.back(), std::make_pair(expectedTotal, expectedTotal));
  EXPECT_LE(reports.size(), 260u) << "reported too often";
  for (std::size_t index = 1; index < reports.size(); ++index) {
    EXPECT_LE(reports[index - 1].first, reports[index].first);
    EXPECT_EQ(reports[index].second, expectedTotal);
  }
  EXPECT_EQ(ReadFileBytes(*arrived + "/large.bin").size(), std::size_t{20} << 20);
}

// Cancel at the first report, half-way, or at the last one before the end: the copy stops,
// nothing of it is left, and the progress window still hears the end.
TEST(CopyFolder, ACancelledCopyLeavesNothing) {
  for (const int cancelAt : {0, 3, 8}) {
    SCOPED_TRACE(cancelAt);
    TempFolder folder;
    MakeFolder(folder / "Big");
    for (int index = 0; index < 8; ++index) {
      MakeFile(folder / ("Big/" + std::to_string(index)), std::string(1 << 16, 'a'));
    }
    MakeFolder(folder / "out");
    int reports = 0;
    bool endHeard = false;
    const CopyResult result = CopyWithResult(folder / "Big", folder / "out",
                                             [&](std::uint64_t done, std::uint64_t total) {
                                               endHeard = done == total && reports > cancelAt;
                                               return reports++ < cancelAt;
                                             });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.arrivedAt, std::nullopt);
    EXPECT_EQ(result.failure, "");
    EXPECT_TRUE(endHeard);
    EXPECT_TRUE(TreeEntries(folder / "out").empty());
  }
}

TEST(CopyFolder, CopiesTreesDeeperThanTheLongestPath) {
  TempFolder folder;
  const std::string name(200, 'd');
  int current = ::open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::mkdirat(current, "Deep", 0755), 0);
  int next = ::openat(current, "Deep", O_RDONLY | O_DIRECTORY);
  ::close(current);
  current = next;
  for (int level = 0; level < 30; ++level) {  // 30 * 201 characters: beyond PATH_MAX
    ASSERT_EQ(::mkdirat(current, name.c_str(), 0755), 0);
    next = ::openat(current, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(current);
    current = next;
  }
  const int file = ::openat(current, "bottom.txt", O_WRONLY | O_CREAT, 0644);
  ASSERT_EQ(::write(file, "found", 5), 5);
  ::close(file);
  ::close(current);

  EXPECT_EQ(Copy(folder / "Deep", folder / "out"), folder / "out/Deep");

  current = ::open((folder / "out/Deep").c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 30 && current >= 0; ++level) {
    next = ::openat(current, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(current);
    current = next;
  }
  ASSERT_GE(current, 0) << "the copy is not as deep";
  struct stat bottom {};
  EXPECT_EQ(::fstatat(current, "bottom.txt", &bottom, 0), 0);
  EXPECT_EQ(bottom.st_size, 5);
  ::close(current);
  // The standard library cannot remove paths this long.
  const int base = ::open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY);
  EXPECT_TRUE(RemoveTree(base, "Deep"));
  EXPECT_TRUE(RemoveTree(base, "out"));
  ::close(base);
}

// The staging folder in `out` once it holds every entry of `entries`; empty when none comes.
std::string WhenCopiedAhead(const std::string& out, const std::set<std::string>& entries) {
  for (int poll = 0; poll < 2000; ++poll) {
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      const std::string path = entry.path().string();
      if (entry.path().filename().string().starts_with(".Web.trelik-copy-") &&
          TreeEntries(path) == entries) {
        return path;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

// A copy made while the project's name is typed is taken over by the copy asked for then only
// when the template stayed as it was; otherwise that copy is made afresh, whole. Nothing of it
// is left when no copy takes it.
TEST(CopyFolder, ACopyMadeAheadIsTakenOverOnlyWhenTheTemplateStayedTheSame) {
  struct Case {
    std::string what;
    std::function<void(const std::string&)> change;  // done to the template while it is typed
    bool takenOver = false;
    bool escaped = false;  // the window is left by Escape
  };
  const Case cases[] = {
      {"unchanged", [](const std::string&) {}, true},
      {"file added", [](const std::string& web) { MakeFile(web + "/sub/new.txt", "new"); }},
      {"file removed", [](const std::string& web) { ::unlink((web + "/sub/file.txt").c_str()); }},
      {"file rewritten in place, its size kept",
       [](const std::string& web) {
         const UniqueFd file(::open((web + "/index.htm").c_str(), O_WRONLY));
         ASSERT_EQ(::pwrite(file.Get(), "<HTML>", 6, 0), 6);
       }},
      {"escaped", [](const std::string&) {}, false, true},
  };
  TempFolder folders[std::size(cases)];
  for (const TempFolder& folder : folders) {
    MakeTemplate(folder / "Web");
    MakeFolder(folder / "out");
  }
  // Time stamps can be trusted only once they are older than their file system's grain.
  for (const std::time_t made = std::time(nullptr); std::time(nullptr) <= made + 2;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const std::string web = folders[i] / "Web";
    const std::string out = folders[i] / "out/";
    PosixShellOperations shell({}, {}, {});
    shell.PrepareCopy(web, out);
    const std::string staging = WhenCopiedAhead(out, TreeEntries(web));
    ASSERT_NE(staging, "") << c.what;
    MakeFile(staging + "/made ahead", "");  // tells the copy made ahead from one made afresh
    c.change(web);
    if (c.escaped) {
      shell.DiscardPreparedCopy();
      EXPECT_EQ(TreeEntries(out), std::set<std::string>{}) << c.what;
      continue;
    }
    const auto arrived = shell.CopyFolder(nullptr, web, out, {}, "Shop").arrivedAt;

    ASSERT_EQ(arrived, out + "Shop") << c.what;
    EXPECT_EQ(TreeEntries(out).size(), TreeEntries(*arrived).size() + 1) << c.what;
    std::set<std::string> expected = TreeEntries(web);
    if (c.takenOver) expected.insert("made ahead");
    EXPECT_EQ(TreeEntries(*arrived), expected) << c.what;
  }
}

}  // namespace
}  // namespace trelik
