#include "library/list_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

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
  const std::optional<bool> held = true, letGo = false, unknown = std::nullopt;
  struct Case {
    const char* text;
    std::optional<bool> held;
    seconds age;
    LockVerdict verdict;
  };
  const Case cases[] = {
      {"here\n7\n", held, seconds(3600), LockVerdict::kWait},   // this computer's, still held
      {"here\n7\n", letGo, seconds(0), LockVerdict::kBreak},    // this computer's, let go
      {"here\n7\n", unknown, seconds(59), LockVerdict::kWait},  // no locks on this file system
      {"here\n7\n", unknown, seconds(61), LockVerdict::kReportAndBreak},
      {"there\n7\n", letGo, seconds(59), LockVerdict::kWait},  // another computer's, young
      {"there\n7\n", letGo, seconds(61), LockVerdict::kReportAndBreak},
      {"HERE\n7\n", letGo, seconds(0), LockVerdict::kWait},  // never this computer by likeness
      {"here\n", letGo, seconds(5), LockVerdict::kWait},  // half written: whose it is is not known
      {"here\nx7\n", letGo, seconds(61), LockVerdict::kReportAndBreak},
      {"", letGo, seconds(61), LockVerdict::kReportAndBreak},
      {"\n7\n", letGo, seconds(0), LockVerdict::kWait},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(JudgeLock(ParseLockHolder(c.text), "here", c.held, c.age), c.verdict);
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
  // Left by a program of this computer that ended: nothing holds it.
  testing::WriteFileBytes(path, FormatLockHolder({ThisMachine(), 4'000'000'000u}));
  { const ListLock left(path, tell); }
  EXPECT_TRUE(told.empty());
  testing::WriteFileBytes(path, "elsewhere\n7\n");
  EXPECT_THROW(ListLock(path, tell, std::chrono::milliseconds(200)), Error);
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(2));
  { const ListLock old(path, tell); }
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("left by Trelik on elsewhere (process 7) over a minute ago"),
            std::string::npos)
      << told[0];
  EXPECT_FALSE(fs::exists(path));
}

// Two programs of this computer finding one stale lock at once: the second, acting on what it
// judged a moment before, must not remove the lock that the first has taken since, or both would
// save at once and one's templates be lost.
TEST(ListLock, AStaleLockFoundByTwoProgramsAtOnceIsBrokenByOne) {
  // Another computer's, old; this computer's, of a program that ended (process 1 runs: what
  // tells is that nothing holds the file).
  const std::string left[] = {"elsewhere\n7\n", FormatLockHolder({ThisMachine(), 1u})};
  for (const std::string& text : left) {
    SCOPED_TRACE(text);
    testing::TempFolder folder;
    const std::string path = folder / "projects.lib.lock";
    const auto ignore = [](const std::string&) {};
    testing::WriteFileBytes(path, text);
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    FoundLockFile second(path);
    const auto verdict =
        JudgeLock(ParseLockHolder(second.Text()), ThisMachine(), second.IsHeld(), second.Age());
    ASSERT_NE(verdict, LockVerdict::kWait);
    const ListLock first(path, ignore);
    EXPECT_FALSE(second.Remove());
    EXPECT_TRUE(fs::exists(path));
    EXPECT_THROW(ListLock(path, ignore, std::chrono::milliseconds(200)), Error);
  }
}

}  // namespace
}  // namespace trelik
