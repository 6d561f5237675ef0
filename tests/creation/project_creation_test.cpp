#include "creation/project_creation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "common/system_error.h"
#include "creation/token_values.h"
#include "library/file_claim.h"
#include "support/fake_shell.h"
#include "support/temp_folder.h"
#include "support/unreadable_file.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::FakeShell;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;
using Tree = std::set<std::string>;

const std::string kCopyFailed = "Error Happened,report to support@trelik.example Please !";
const std::string kNoMainFile = "No main file info ";
const std::string kDotDot =
    "The name \"..\" cannot be used: \"..\" stands for a folder that exists already.";

// A program folder with the template "Web" and a launcher folder whose path holds a blank.
class CreationTest : public ::testing::Test {
 protected:
  CreationTest()
      : appDir_(root_ / "app" + Sep()),
        launcherFolder_(root_ / "My Projects" + Sep()),
        launcher_(launcherFolder_ + "New.trelik_Web"),
        settings_(appDir_ + "trelik.ini") {
    const std::string web = appDir_ + "projects" + Sep() + "Web" + Sep();
    fs::create_directories(web + "css");
    WriteFileBytes(web + "index.htm", "<html>");
    WriteFileBytes(web + "Makefile", "all:");
    WriteFileBytes(web + "css" + Sep() + "site.css", "body{}");
    fs::create_directories(launcherFolder_);
    WriteFileBytes(launcher_, "");
  }

  // Back to the state before a run: the launcher alone in its folder, no settings, no records.
  void TearDownRun() {
    fs::remove_all(launcherFolder_);
    fs::create_directories(launcherFolder_);
    WriteFileBytes(launcher_, "");
    fs::remove(settings_.Path());
    shell_ = FakeShell();
    messages_.clear();
    nextSteps_.clear();
    userAsked_ = 0;
  }

  static std::string Sep() { return std::string(1, PlatformSeparators().joiner); }

  std::string Create(const std::string& typed, bool autoOpen) {
    const CreationRequest request{launcher_, appDir_, typed, autoOpen, &owner_};
    const CreationServices services{
        shell_, settings_, [this](const std::string& text) { Record(text); }, PlatformSeparators(),
        [this] { return ++userAsked_, std::string("Ada"); }};
    return CreateProject(request, services);
  }

  // A window's notice says what to do next on its second line; the others are kept apart.
  void Record(const std::string& text) {
    const std::size_t first = text.find('\n');
    const std::size_t second = text.find('\n', first + 1);
    nextSteps_.push_back(text.substr(first + 1, second - first - 1));
    messages_.push_back(text.substr(0, first) +
                        (second == std::string::npos ? "" : text.substr(second)));
  }

  // Every entry below the launcher folder, as relative paths with forward slashes.
  Tree LauncherTree() const {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(launcherFolder_)) {
      tree.insert(fs::relative(entry.path(), launcherFolder_).generic_string());
    }
    return tree;
  }

  std::vector<std::string> OpenedTargets() const {
    std::vector<std::string> targets;
    for (const auto& opened : shell_.opened) {
      EXPECT_EQ(opened.verb, "open");
      EXPECT_EQ(opened.show, ShowCommand::kShow);
      EXPECT_EQ(opened.owner, &owner_);
      targets.push_back(fs::relative(opened.target, launcherFolder_).generic_string());
    }
    return targets;
  }

  TempFolder root_;
  std::string appDir_;
  std::string launcherFolder_;
  std::string launcher_;
  TIniFile settings_;
  FakeShell shell_;
  std::vector<std::string> messages_;   // without their second lines
  std::vector<std::string> nextSteps_;  // the second lines
  int owner_ = 0;
  int userAsked_ = 0;
};

Tree CopyAs(const std::string& folder, const std::string& mainFile) {
  Tree tree{folder, folder + "/css", folder + "/css/site.css", folder + "/Makefile"};
  tree.insert(folder + "/" + mainFile);
  return tree;
}

struct FormCase {
  std::string typed;
  bool mainRecorded;
  Tree tree;
  std::string openedWhenAsked;  // empty: nothing is opened even with auto-open
  std::vector<std::string> messages;
};

// How each decision of the plan is carried out; the plan's own table has every name form.
TEST_F(CreationTest, TheNamesOfThePlanAreGivenInsideTheCopy) {
  const FormCase cases[] = {
      {"", true, CopyAs("Web", "index.htm"), "Web/index.htm", {}},
      {"Site\\home", true, CopyAs("Site", "home.htm"), "Site/home.htm", {}},
      {"Site\\home", false, CopyAs("Site", "index.htm"), "", {}},
      {"\\home", true, CopyAs("Web", "home.htm"), "Web/home.htm", {}},
      {"\\home", false, CopyAs("Web", "index.htm"), "", {kNoMainFile}},
      {"Site", true, CopyAs("Web", "index.htm"), "", {}},
      {"..\\home", true, CopyAs("Web", "index.htm"), "", {kDotDot}},
  };
  for (const auto& c : cases) {
    for (const bool autoOpen : {false, true}) {
      SCOPED_TRACE("typed \"" + c.typed + "\", main file " + (c.mainRecorded ? "yes" : "no") +
                   ", auto-open " + (autoOpen ? "on" : "off"));
      TearDownRun();
      if (c.mainRecorded) settings_.WriteText("mainfile", "Web", "index.htm");
      EXPECT_EQ(Create(c.typed, autoOpen), "Web");
      EXPECT_EQ(LauncherTree(), c.tree);
      const std::vector<std::string> expectedOpen = autoOpen && !c.openedWhenAsked.empty()
                                                        ? std::vector{c.openedWhenAsked}
                                                        : std::vector<std::string>{};
      EXPECT_EQ(OpenedTargets(), expectedOpen);
      EXPECT_EQ(messages_, c.messages);
      // Every rename happens inside the hidden copy: a kill can never leave it half-named.
      for (const auto& from : shell_.renamedFrom) {
        EXPECT_NE(from.find(FakeShell::kStagingPrefix), std::string::npos) << from;
      }
    }
  }
}

TEST_F(CreationTest, ACopyFailureIsReportedWithItsCauseAndKeepsTheLauncher) {
  settings_.WriteText("mainfile", "Web", "index.htm");
  shell_.copyFailure = "No space left on device";
  fs::create_directory(launcherFolder_ + "Web");  // the user's own folder of that name
  Create("Site\\home", true);
  EXPECT_EQ(messages_, std::vector{kCopyFailed + "\nNo space left on device"});
  EXPECT_EQ(LauncherTree(), (Tree{"New.trelik_Web", "Web"}));
  EXPECT_TRUE(shell_.opened.empty());
}

TEST_F(CreationTest, ACancelledCopyCreatesNothingAndKeepsTheLauncher) {
  settings_.WriteText("mainfile", "Web", "index.htm");
  shell_.cancelCopies = true;
  Create("Site\\home", true);
  EXPECT_EQ(messages_, std::vector<std::string>{"The copy was cancelled: nothing was created."});
  EXPECT_EQ(LauncherTree(), Tree{"New.trelik_Web"});
  EXPECT_TRUE(shell_.opened.empty());
}

TEST_F(CreationTest, TwoMessagesInOneRunAndTheLauncherStaysForAnotherTry) {
  fs::rename(appDir_ + "projects" + Sep() + "Web", appDir_ + "Web moved");
  Create("\\home", true);
  EXPECT_EQ(messages_,
            (std::vector{kCopyFailed + "\nTemplate \"Web\" is not in the library", kNoMainFile}));
  EXPECT_EQ(LauncherTree(), Tree{"New.trelik_Web"});
}

TEST_F(CreationTest, AUserFolderAtTheTemplateNameIsLeftUntouched) {
  settings_.WriteText("mainfile", "Web", "index.htm");
  fs::create_directory(launcherFolder_ + "Web");
  WriteFileBytes(launcherFolder_ + "Web" + Sep() + "index.htm", "mine");
  Create("Site\\home", true);
  Tree expected = CopyAs("Site", "home.htm");
  expected.insert({"Web", "Web/index.htm"});
  EXPECT_EQ(LauncherTree(), expected);
  EXPECT_EQ(ReadFileBytes(launcherFolder_ + "Web" + Sep() + "index.htm"), "mine");
  EXPECT_EQ(OpenedTargets(), std::vector<std::string>{"Site/home.htm"});
}

struct TakenCase {
  std::string mainFile;
  std::string typed;
  std::vector<std::string> userEntries;  // in the launcher folder before the run
  Tree copy;
  std::string opened;
  std::string message;
};

// A taken name never sends the renames or the open to the user's own entries: the copy keeps
// the name it has, only files inside it are opened, and one notice says where it is.
TEST_F(CreationTest, ATakenNameIsReportedAndOnlyTheCopyIsOpened) {
  const TakenCase cases[] = {
      {"index.htm",
       "Site\\home",
       {"Site"},
       CopyAs("Web", "home.htm"),
       "Web/home.htm",
       "\"Site\" already exists here. The new project is in \"Web\"."},
      {"index.htm",
       "Site\\",
       {"Site", "Web"},
       CopyAs("Web - Copy", "index.htm"),
       "Web - Copy/index.htm",
       "\"Site\" already exists here. The new project is in \"Web - Copy\"."},
      {"css",
       "\\Makefile",
       {},
       CopyAs("Web", "index.htm"),
       "Web/css",
       "\"Makefile\" already exists in the project. The new project is in \"Web\"."},
      {"css",
       "Site\\Makefile",
       {"Site"},
       CopyAs("Web", "index.htm"),
       "Web/css",
       "\"Makefile\" already exists in the project. \"Site\" already exists here. The new project "
       "is in \"Web\"."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    TearDownRun();
    settings_.WriteText("mainfile", "Web", c.mainFile);
    Tree expected = c.copy;
    for (const auto& entry : c.userEntries) {
      fs::create_directory(launcherFolder_ + entry);
      expected.insert(entry);
    }
    Create(c.typed, true);
    EXPECT_EQ(LauncherTree(), expected);
    EXPECT_EQ(OpenedTargets(), std::vector{c.opened});
    EXPECT_EQ(messages_, std::vector{c.message});
  }
}

TEST_F(CreationTest, ANameTooLongForTheFileSystemIsReportedWithItsCause) {
  settings_.WriteText("mainfile", "Web", "index.htm");
  Create(std::string(300, 'x') + "\\", true);
  EXPECT_EQ(LauncherTree(), CopyAs("Web", "index.htm"));
  EXPECT_EQ(OpenedTargets(), std::vector<std::string>{"Web/index.htm"});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("The project folder could not be named \"xxx", 0), 0u)
      << messages_[0];
  EXPECT_TRUE(messages_[0].ends_with(" The new project is in \"Web\".")) << messages_[0];
}

struct LauncherCase {
  std::string content;
  bool deleted;
};

TEST_F(CreationTest, OnlyALauncherWithoutDataIsDeleted) {
  const LauncherCase cases[] = {
      {"", true},
      {"\n", true},
      {" \r\n\t", true},
      {std::string(16, '\n'), true},
      {"x", false},
      {"notes\n", false},
      {std::string(17, '\n'), false},
      {std::string(1, '\0'), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.content));
    TearDownRun();
    fs::remove(launcher_);
    launcher_ = launcherFolder_ + "notes.oldtrelik_Web";
    WriteFileBytes(launcher_, c.content);
    Create("", false);
    EXPECT_EQ(fs::exists(launcher_), !c.deleted);
    EXPECT_TRUE(LauncherTree().contains("Web/index.htm"));
    const std::vector<std::string> kept{"\"notes.oldtrelik_Web\" was kept because it holds data."};
    EXPECT_EQ(messages_, c.deleted ? std::vector<std::string>{} : kept);
  }
}

TEST_F(CreationTest, AMissingLauncherIsRefusedAndNoFolderIsMade) {
  launcher_ = root_ / "nowhere" + Sep() + "New.trelik_Web";
  Create("Site\\", true);
  EXPECT_FALSE(fs::exists(root_ / "nowhere"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("does not exist"), std::string::npos) << messages_[0];
}

TEST_F(CreationTest, ALauncherOutOfReachIsNotCalledMissing) {
  launcher_ = root_ / std::string(300, 'x') + Sep() + "New.trelik_Web";
  Create("Site\\", true);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("The launcher \"" + launcher_ + "\" cannot be reached (", 0), 0u)
      << messages_[0];
}

TEST_F(CreationTest, ALauncherAnotherWindowIsCreatingFromMakesNothing) {
  const FileClaim otherWindow(launcher_);
  ASSERT_FALSE(otherWindow.Failure()) << otherWindow.Failure().message();
  Create("Site\\", true);
  EXPECT_EQ(LauncherTree(), Tree{"New.trelik_Web"});
  EXPECT_EQ(messages_, std::vector<std::string>{"Another window is already creating a project "
                                                "from \"" +
                                                launcher_ + "\", so none was created here."});
}

struct TokenCase {
  std::string typed;
  std::string mainFile;
  bool fill;
  Tree tree;           // the copy, apart from the files that are never filled
  std::string opened;  // with auto-open
  std::string title;   // what the page's title became
};

// Tokens in file names, folder names, nested names, the main file and contents, for templates
// with and without [fill]; the files that are never filled keep every byte.
TEST_F(CreationTest, TokensAreFilledInNamesAlwaysAndInContentsWithFill) {
  const std::string web = appDir_ + "projects" + Sep() + "Web" + Sep();
  const std::string year = TimeTokens(CurrentLocalTime()).at("year");
  const std::string page = "<title>{{trelik.folder}}</title>{{ vue }}{{trelik.x}}\r\n";
  const std::string big = std::string(kFillLimit, ' ') + "{{trelik.folder}}";
  const std::map<std::string, std::string> untouched{
      {"zero.bin", std::string("{{trelik.folder}}\0", 18)},
      {"latin1.txt", "{{trelik.folder}}\xE9"},
      {"big.txt", big}};
  WriteFileBytes(web + "index.htm", page);
  WriteFileBytes(web + "{{trelik.folder}}.css", "");
  WriteFileBytes(web + "css" + Sep() + "{{trelik.file}}.css", "");
  fs::create_directories(web + "{{trelik.template}}-{{trelik.year}}" + Sep() + "{{trelik.file}}");
  for (const auto& [name, bytes] : untouched) WriteFileBytes(web + name, bytes);
  const auto copy = [&](const std::string& folder, const std::string& file,
                        const std::string& main) {
    return Tree{folder,
                folder + "/Makefile",
                folder + "/css",
                folder + "/css/site.css",
                folder + "/" + main,
                folder + "/" + folder + ".css",
                folder + "/css/" + file + ".css",
                folder + "/Web-" + year,
                folder + "/Web-" + year + "/" + file};
  };
  const TokenCase cases[] = {
      {"Shop\\home", "index.htm", true, copy("Shop", "home", "home.htm"), "Shop/home.htm",
       "<title>Shop</title>"},
      {"Shop\\home", "index.htm", false, copy("Shop", "home", "home.htm"), "Shop/home.htm",
       "<title>{{trelik.folder}}</title>"},
      {"Shop\\", "index.htm", true, copy("Shop", "index", "index.htm"), "Shop/index.htm",
       "<title>Shop</title>"},
      {"", "index.htm", true, copy("Web", "index", "index.htm"), "Web/index.htm",
       "<title>Web</title>"},
      {"\\home", "index.htm", true, copy("Web", "home", "home.htm"), "Web/home.htm",
       "<title>Web</title>"},
      {"plain", "index.htm", true, copy("Web", "index", "index.htm"), "", "<title>Web</title>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed + (c.fill ? " with fill" : " without fill"));
    TearDownRun();
    settings_.WriteText("mainfile", "Web", c.mainFile);
    settings_.WriteFlag("autoopen", "Web", true);
    settings_.WriteFlag("fill", "Web", c.fill);
    Create(c.typed, true);
    Tree tree = LauncherTree();
    const std::string folder = *c.tree.begin();
    for (const auto& [name, bytes] : untouched) {
      EXPECT_EQ(ReadFileBytes(launcherFolder_ + folder + Sep() + name), bytes) << name;
      tree.erase(folder + "/" + name);
    }
    EXPECT_EQ(tree, c.tree);
    EXPECT_EQ(OpenedTargets(),
              c.opened.empty() ? std::vector<std::string>{} : std::vector{c.opened});
    const std::string main = *std::find_if(
        c.tree.begin(), c.tree.end(), [](const auto& entry) { return entry.ends_with(".htm"); });
    EXPECT_EQ(ReadFileBytes(launcherFolder_ + main), c.title + "{{ vue }}{{trelik.x}}\r\n");
    EXPECT_TRUE(messages_.empty()) << messages_.front();
  }
}

TEST_F(CreationTest, AMainFileNamedByTokensIsFoundUnderItsFilledName) {
  const std::string web = appDir_ + "projects" + Sep() + "Web" + Sep();
  WriteFileBytes(web + "{{trelik.folder}}.htm", "");
  WriteFileBytes(web + "{{trelik.file}}.txt", "");
  settings_.WriteText("mainfile", "Web", "{{trelik.folder}}.htm");
  for (const auto& [typed, opened] : std::map<std::string, std::string>{
           {"", "Web/Web.htm"}, {"Shop\\", "Shop/Shop.htm"}, {"Shop\\home", "Shop/home.htm"}}) {
    SCOPED_TRACE(typed);
    TearDownRun();
    settings_.WriteText("mainfile", "Web", "{{trelik.folder}}.htm");
    Create(typed, true);
    EXPECT_EQ(OpenedTargets(), std::vector{opened});
    EXPECT_TRUE(LauncherTree().contains(opened));
    // The main file's own base name fills {{trelik.file}}.
    const std::string folder = opened.substr(0, opened.find('/'));
    const std::string file =
        opened.substr(opened.find('/') + 1, opened.size() - opened.find('/') - 5);
    EXPECT_TRUE(LauncherTree().contains(folder + "/" + file + ".txt"));
    EXPECT_TRUE(messages_.empty());
  }
}

// Filling in happens before the copy is handed over: when it fails, the copy goes, the user is
// told why, and the launcher stays for another try.
TEST_F(CreationTest, AFailedFillLeavesNothingAndKeepsTheLauncher) {
  const auto denied = std::make_error_code(std::errc::permission_denied);
  for (auto failure : {&FakeShell::renameFailure, &FakeShell::rewriteFailure}) {
    TearDownRun();
    WriteFileBytes(appDir_ + "projects" + Sep() + "Web" + Sep() + "{{trelik.folder}}.css",
                   "{{trelik.folder}}");
    settings_.WriteFlag("fill", "Web", true);
    shell_.*failure = denied;
    Create("Shop\\home", true);
    EXPECT_EQ(LauncherTree(), Tree{"New.trelik_Web"});
    EXPECT_TRUE(shell_.opened.empty());
    // Named inside the project: the hidden copy it failed in is gone.
    EXPECT_EQ(messages_, std::vector{kCopyFailed +
                                     "\n\"{{trelik.folder}}.css\" could not be "
                                     "filled in: " +
                                     SystemErrorText(denied)});
  }
}

// Asking Windows for the user's name loads a library: only a template that uses it pays.
TEST_F(CreationTest, TheUserNameIsAskedForOnlyByATemplateThatUsesIt) {
  const struct {
    std::string name, bytes, made, filled;
    int asked;
  } cases[] = {{"plain.txt", "{{trelik.folder}}", "plain.txt", "Web", 0},
               {"{{trelik.user}}.txt", "", "Ada.txt", "", 1},
               {"by.txt", "{{trelik.user}}{{trelik.user}}", "by.txt", "AdaAda", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDownRun();
    settings_.WriteFlag("fill", "Web", true);
    const std::string path = appDir_ + "projects" + Sep() + "Web" + Sep() + c.name;
    WriteFileBytes(path, c.bytes);
    Create("", false);
    fs::remove(path);
    EXPECT_EQ(userAsked_, c.asked);
    EXPECT_EQ(ReadFileBytes(launcherFolder_ + "Web" + Sep() + c.made), c.filled);
  }
}

TEST_F(CreationTest, ATypedFilePartNamesTheFileTokenWithoutARecordedMainFile) {
  WriteFileBytes(appDir_ + "projects" + Sep() + "Web" + Sep() + "{{trelik.file}}.txt", "");
  Create("Shop\\home", false);
  EXPECT_TRUE(LauncherTree().contains("Shop/home.txt"));
}

TEST_F(CreationTest, NamesThatWouldBeInvalidAreLeftAndListedOnce) {
  const std::string web = appDir_ + "projects" + Sep() + "Web" + Sep();
  WriteFileBytes(web + "{{trelik.folder}}.css", "");
  WriteFileBytes(web + "Shop.css", "");
  WriteFileBytes(web + "css" + Sep() + "{{trelik.folder}}", "");
  WriteFileBytes(web + "css" + Sep() + "{{trelik.file}}", "");
  settings_.WriteText("mainfile", "Web", "index.htm");
  Create("Shop\\Shop", false);
  const Tree tree = LauncherTree();
  EXPECT_TRUE(tree.contains("Shop/{{trelik.folder}}.css"));
  EXPECT_TRUE(tree.contains("Shop/css/{{trelik.folder}}"));
  EXPECT_TRUE(tree.contains("Shop/css/{{trelik.file}}"));
  EXPECT_TRUE(tree.contains("Shop/Shop.htm"));
  ASSERT_EQ(messages_.size(), 1u);
  for (const auto& name : {"{{trelik.folder}}.css", "{{trelik.folder}}", "{{trelik.file}}"}) {
    EXPECT_NE(messages_[0].find(name), std::string::npos) << messages_[0];
  }
}

// Read as empty, they would drop the recorded main file and the filling without a word.
TEST_F(CreationTest, SettingsThatCannotBeReadStopTheCreationBeforeTheCopy) {
  const testing::UnreadableFile unreadable(settings_.Path());
  Create("Site\\home", true);
  EXPECT_EQ(LauncherTree(), Tree{"New.trelik_Web"});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(settings_.Path()), std::string::npos) << messages_[0];
}

// A library folder that the settings name and that is not there (an unmounted share) is named,
// as every other use of the library names it; nothing is made, and the launcher stays.
TEST_F(CreationTest, AMissingLibraryIsNamedInOneNoticeAndTheLauncherKept) {
  const std::string unmounted = root_ / "unmounted";
  settings_.WriteText("library", "folder", unmounted);
  appDir_ = unmounted + Sep();
  Create("Site\\home", true);
  EXPECT_EQ(messages_, std::vector{"The template library \"" + unmounted +
                                   "\" is not there, so its templates cannot be used or changed; "
                                   "their New-menu entries stay."});
  EXPECT_EQ(nextSteps_, std::vector<std::string>{
                            "Connect its share or let it sync, or name another library folder in "
                            "the editor. The launcher was kept, so you can open it again."});
  EXPECT_EQ(LauncherTree(), Tree{"New.trelik_Web"});
  EXPECT_FALSE(fs::exists(unmounted));
}

struct NoticeCase {
  std::string name;
  std::function<void()> arrange;  // run with the main file "index.htm" recorded
  std::string typed;
};

// Every notice of the window says on its second line what to do next, and what it says of the
// launcher is what became of it.
TEST_F(CreationTest, EveryNoticeSaysWhatToDoNextAndTrulyWhatBecameOfTheLauncher) {
  std::optional<testing::UnreadableFile> unreadable;
  const NoticeCase cases[] = {
      {"no main file info", [this] { fs::remove(settings_.Path()); }, "\\home"},
      {"unusable name", [] {}, "..\\home"},
      {"taken name", [this] { fs::create_directory(launcherFolder_ + "Site"); }, "Site\\"},
      {"copy failure", [this] { shell_.copyFailure = "Disk full"; }, "Site\\"},
      {"cancelled copy", [this] { shell_.cancelCopies = true; }, "Site\\"},
      {"main file not opened",
       [this] { shell_.openFailure = std::make_error_code(std::errc::permission_denied); },
       "Site\\"},
      {"launcher with data", [this] { WriteFileBytes(launcher_, "notes"); }, "..\\"},
      {"unreadable settings",
       [&] {
         fs::remove(settings_.Path());
         unreadable.emplace(settings_.Path());
       },
       "Site\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDownRun();
    settings_.WriteText("mainfile", "Web", "index.htm");
    c.arrange();
    Create(c.typed, true);
    unreadable.reset();
    ASSERT_FALSE(nextSteps_.empty());
    const bool kept = fs::exists(launcher_);
    bool toldFate = false;
    for (const auto& next : nextSteps_) {
      EXPECT_GT(next.size(), 10u) << next;
      EXPECT_EQ(next.find(kept ? "launcher is removed" : "launcher was kept"), std::string::npos)
          << next;
      toldFate = toldFate ||
                 next.find(kept ? "launcher was kept" : "launcher is removed") != std::string::npos;
    }
    EXPECT_TRUE(toldFate);
  }
}

TEST_F(CreationTest, WithoutATemplateNameNothingHappens) {
  launcher_ = launcherFolder_ + "notes.txt";
  WriteFileBytes(launcher_, "");
  fs::remove(launcherFolder_ + "New.trelik_Web");
  EXPECT_EQ(Create("Site\\home", true), "");
  EXPECT_EQ(LauncherTree(), Tree{"notes.txt"});
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace trelik
