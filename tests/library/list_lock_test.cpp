#include "library/list_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "library/lock_file.h"
#include "library/template_list.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using List = std::vector<std::string>;
using std::chrono::seconds;

// What each program saved between reading the list and saving it again is kept.
TEST(ListLock, TheListIsMergedWithWhatAnotherProgramSavedMeanwhile) {
  struct Case {
    const char* what;
    List base, mine, theirs, merged;
  };
  const Case cases[] = {
      {"nobody else saved", {"B", "A"}, {"A", "C"}, {"B", "A"}, {"A", "C"}},
      {"both added", {"A"}, {"A", "Mine"}, {"A", "Theirs"}, {"A", "Mine", "Theirs"}},
      {"they removed one", {"A", "B"}, {"A", "B", "C"}, {"B"}, {"B", "C"}},
      {"both removed one", {"A", "B"}, {"A"}, {"A"}, {"A"}},
      {"both added it, in other letter case", {}, {"Web"}, {"WEB"}, {"Web"}},
      {"I removed what they kept", {"A", "B"}, {"B"}, {"A", "B", "C"}, {"B", "C"}},
      {"the file was emptied", {"A"}, {"A", "B"}, {}, {"B"}},
      {"duplicates of my own stay", {"A", "A"}, {"A", "A"}, {"A", "A"}, {"A", "A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MergeTemplateLists(c.base, c.mine, c.theirs), c.merged);
  }
}

TEST(ListLock, ALockIsWaitedForUntilItsHolderIsGoneOrItIsLeftOverLong) {
  const auto running = [](std::uint64_t process) { return process == 7; };
  struct Case {
    const char* text;
    seconds age;
    LockVerdict verdict;
  };
  const Case cases[] = {
      {"here\n7\n", seconds(3600), LockVerdict::kWait},  // this computer's, still running
      {"here\n8\n", seconds(0), LockVerdict::kBreak},    // this computer's, ended
      {"there\n7\n", seconds(59), LockVerdict::kWait},   // another computer's, young
      {"there\n7\n", seconds(61), LockVerdict::kReportAndBreak},
      {"here\n", seconds(5), LockVerdict::kWait},  // half written: whose it is is not known
      {"here\nx7\n", seconds(61), LockVerdict::kReportAndBreak},
      {"", seconds(61), LockVerdict::kReportAndBreak},
      {"\n7\n", seconds(0), LockVerdict::kWait},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(JudgeLock(ParseLockHolder(c.text), "here", running, c.age), c.verdict);
  }
  EXPECT_EQ(ParseLockHolder(FormatLockHolder({"a b", 42})), (LockHolder{"a b", 42}));
}

// On the real file system: a held lock makes the next one wait and fail; one left by a process
// of this computer that ended goes at once; another computer's old one goes with a word.
TEST(ListLock, ALockFileIsTakenWaitedForAndBroken) {
  testing::TempFolder folder;
  const std::string path = folder / "projects.lib.lock";
  std::vector<std::string> told;
  const auto tell = [&told](const std::string& text) { told.push_back(text); };
  {
    const ListLock held(path, tell);
    EXPECT_THROW(ListLock(path, tell, std::chrono::milliseconds(200)), Error);
  }
  EXPECT_FALSE(fs::exists(path));
  // Process ids are far below this on both platforms.
  ASSERT_FALSE(CreateNewFile(path, FormatLockHolder({ThisMachine(), 4'000'000'000u})));
  { const ListLock left(path, tell); }
  EXPECT_TRUE(told.empty());
  ASSERT_FALSE(CreateNewFile(path, "elsewhere\n7\n"));
  EXPECT_THROW(ListLock(path, tell, std::chrono::milliseconds(200)), Error);
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(2));
  { const ListLock old(path, tell); }
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("left by Trelik on elsewhere (process 7) over a minute ago"),
            std::string::npos)
      << told[0];
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace trelik
