#include "creation/script_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "common/path_parts.h"
#include "support/fake_shell.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::FakeShell;
using testing::TempFolder;
using testing::WriteFileBytes;

// A data folder listing "Web" (in the store, main file index.htm, opened after creation) and
// "Blog" (listed, but its folder is gone), and an empty folder "out" for the projects.
class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest()
      : appDir_(root_ / "app" + Sep()), out_(root_ / "out"), settings_(appDir_ + "trelik.ini") {
    const std::string web = appDir_ + "projects" + Sep() + "Web" + Sep();
    fs::create_directories(web);
    WriteFileBytes(web + "index.htm", "<title>{{trelik.folder}}</title>");
    WriteFileBytes(appDir_ + "projects.lib", "Web\r\nBlog\r\n");
    settings_.WriteText("mainfile", "Web", "index.htm");
    settings_.WriteFlag("autoopen", "Web", true);
    fs::create_directories(out_);
  }

  static std::string Sep() { return std::string(1, PlatformSeparators().joiner); }

  TextReply New(const std::vector<std::string>& arguments) {
    return CreateFromScript(ParseProgramOptions(arguments), {shell_, settings_, appDir_});
  }

  std::set<std::string> Out() const {
    std::set<std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(out_)) {
      tree.insert(fs::relative(entry.path(), out_).generic_string());
    }
    return tree;
  }

  TempFolder root_;
  std::string appDir_;
  std::string out_;
  TIniFile settings_;
  FakeShell shell_;
};

TEST_F(ScriptTest, ListsEachTemplateWithItsMainFileAndAutoOpen) {
  const TextReply reply = ListTemplates({shell_, settings_, appDir_});
  EXPECT_EQ(reply.standardOutput, "Web\tindex.htm\tautoopen\nBlog\t\t\n");
  EXPECT_EQ(reply.exitCode, 0);
  fs::remove(appDir_ + "projects.lib");
  EXPECT_EQ(ListTemplates({shell_, settings_, appDir_}).standardOutput, "");
}

TEST_F(ScriptTest, CreatesAsTheWindowWouldAndPrintsTheFolder) {
  settings_.WriteFlag("fill", "Web", true);
  const TextReply reply = New({"--new", "Web", "--name", "Shop\\home", "--in", out_, "--open"});
  EXPECT_EQ(reply.exitCode, 0) << reply.standardError;
  EXPECT_EQ(reply.standardError, "");
  EXPECT_EQ(reply.standardOutput, out_ + Sep() + "Shop\n");
  EXPECT_EQ(Out(), (std::set<std::string>{"Shop", "Shop/home.htm"}));
  EXPECT_EQ(testing::ReadFileBytes(out_ + Sep() + "Shop" + Sep() + "home.htm"),
            "<title>Shop</title>");
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].target, out_ + Sep() + "Shop" + Sep() + "home.htm");
}

// A mistyped name among 300 templates must not scroll the error out of sight: twenty are named
// and the rest counted.
TEST_F(ScriptTest, AnUnknownTemplateNamesTwentyTemplatesAndCountsTheRest) {
  for (const std::size_t count : {20u, 300u}) {
    std::string list;
    for (std::size_t i = 0; i < count; ++i) list += "T" + std::to_string(i) + "\r\n";
    WriteFileBytes(appDir_ + "projects.lib", list);
    std::string named;
    for (std::size_t i = 0; i < 20; ++i) named += "  T" + std::to_string(i) + "\n";
    EXPECT_EQ(New({"--new", "Nope"}).standardError,
              "trelik: there is no template \"Nope\"; the templates are:\n" + named +
                  (count > 20 ? "  \u2026 and 280 more\n" : ""));
  }
}

struct RefusalCase {
  std::vector<std::string> arguments;
  int exitCode;
  std::string standardError;
};

// Nothing is made, and the reason goes to standard error.
TEST_F(ScriptTest, RefusesWhatCannotBeMadeAndMakesNothing) {
  fs::create_directory(out_ + Sep() + "Taken");
  const RefusalCase cases[] = {
      {{"--new", "Nope", "--in", out_},
       2,
       "trelik: there is no template \"Nope\"; the templates are:\n  Web\n  Blog\n"},
      {{"--new", "Web", "--in", out_, "--name", "..\\x"},
       1,
       "trelik: The name \"..\" cannot be used: \"..\" stands for a folder that exists already.\n"},
      {{"--new", "Web", "--in", out_, "--name", "Taken\\"},
       1,
       "trelik: \"" + out_ + Sep() + "Taken\" already exists.\n"},
      {{"--new", "Web", "--in", out_ + Sep() + "missing"},
       1,
       "trelik: the folder \"" + out_ + Sep() + "missing\" does not exist\n"},
      {{"--new", "Blog", "--in", out_},
       1,
       "trelik: Error Happened,report to support@trelik.example Please !\nTemplate \"Blog\" is "
       "not in the library\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const TextReply reply = New(c.arguments);
    EXPECT_EQ(reply.exitCode, c.exitCode);
    EXPECT_EQ(reply.standardOutput, "");
    EXPECT_EQ(reply.standardError, c.standardError);
    EXPECT_EQ(Out(), std::set<std::string>{"Taken"});
    EXPECT_TRUE(shell_.opened.empty());
  }
}

// Neither reads as empty: nothing is listed or made, and the file is named.
TEST_F(ScriptTest, AListOrSettingsFileThatCannotBeReadStopsListAndNew) {
  for (const std::string name : {"projects.lib", "trelik.ini"}) {
    const std::string path = appDir_ + name;
    fs::rename(path, path + ".kept");
    fs::create_directory(path);
    for (const auto& reply :
         {New({"--new", "Web", "--in", out_}), ListTemplates({shell_, settings_, appDir_})}) {
      EXPECT_EQ(reply.exitCode, 1);
      EXPECT_NE(reply.standardError.find(path), std::string::npos) << reply.standardError;
    }
    EXPECT_TRUE(Out().empty());
    fs::remove(path);
    fs::rename(path + ".kept", path);
  }
}

TEST_F(ScriptTest, ANameThatRenamesNothingIsPointedOut) {
  const TextReply reply = New({"--new", "Web", "--in", out_, "--name", "Shop"});
  EXPECT_EQ(reply.exitCode, 0);
  EXPECT_EQ(reply.standardOutput, out_ + Sep() + "Web\n");
  EXPECT_NE(reply.standardError.find("renames nothing"), std::string::npos) << reply.standardError;
}

}  // namespace
}  // namespace trelik
