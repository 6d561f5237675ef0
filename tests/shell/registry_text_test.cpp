#include "shell/registry_text.h"

#include <gtest/gtest.h>

#include "shell/registry_test_support.h"

namespace trelik {
namespace {

using namespace std::string_literals;

using testing::Layout;
using Lines = std::vector<std::string>;

RegistryNode SampleTree() {
  RegistryNode root;
  RegistryNode& type = root.ProvideSubkey("trelik_My Site");
  type.SetValue("Named", "after the default");
  type.SetValue("", "trelik_My Site");
  type.ProvideSubkey("Shell").ProvideSubkey("Open").ProvideSubkey("Command").SetValue(
      "", "\"/opt/my \\ \"odd\" dir/trelik\" \"%1\"");
  root.ProvideSubkey(".trelik_My Site").ProvideSubkey("ShellNew").SetValue("NullFile", "");
  root.ProvideSubkey("x").SetValue("Quote\" and \\", "");
  return root;
}

constexpr const char* kSampleText =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\trelik_My Site]\r\n"
    "@=\"trelik_My Site\"\r\n"
    "\"Named\"=\"after the default\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\trelik_My Site\\Shell]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\trelik_My Site\\Shell\\Open]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\trelik_My Site\\Shell\\Open\\Command]\r\n"
    "@=\"\\\"/opt/my \\\\ \\\"odd\\\" dir/trelik\\\" \\\"%1\\\"\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\.trelik_My Site]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\.trelik_My Site\\ShellNew]\r\n"
    "\"NullFile\"=\"\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Classes\\x]\r\n"
    "\"Quote\\\" and \\\\\"=\"\"\r\n"
    "\r\n";

TEST(RegistryText, WritesEveryKeyWithItsValuesEscaped) {
  EXPECT_EQ(FormatRegistryText(SampleTree()), kSampleText);
}

TEST(RegistryText, ReadsBackWhatItWrites) {
  std::string problem;
  const auto parsed = ParseRegistryText(kSampleText, problem);
  ASSERT_TRUE(parsed) << problem;
  EXPECT_EQ(FormatRegistryText(*parsed), kSampleText);
  EXPECT_EQ(parsed->FindSubkey("TRELIK_MY SITE")->values.size(), 2u);
}

TEST(RegistryText, AnEmptyTreeIsJustTheHeader) {
  EXPECT_EQ(FormatRegistryText(RegistryNode{}), "REGEDIT4\r\n\r\n");
  std::string problem;
  const auto parsed = ParseRegistryText("REGEDIT4\n", problem);
  ASSERT_TRUE(parsed) << problem;
  EXPECT_TRUE(parsed->subkeys.empty());
}

TEST(RegistryText, ReadsLineFeedFilesAndMergesKeysThatDifferOnlyInCase) {
  std::string problem;
  const auto parsed = ParseRegistryText(
      "REGEDIT4\n\n"
      "[hkey_current_user\\software\\classes\\.trelik_Web\\ShellNew]\n"
      "\"NullFile\"=\"\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes\\.TRELIK_WEB]\n"
      "@=\"trelik_Web\"\n"
      "@=\"replaced\"\n"
      "[HKEY_CURRENT_USER\\Software\\Classes]\n"
      "\"OnRoot\"=\"1\"\n",
      problem);
  ASSERT_TRUE(parsed) << problem;
  EXPECT_EQ(Layout(*parsed), (Lines{".trelik_Web @=replaced", ".trelik_Web\\ShellNew NullFile="}));
  ASSERT_NE(parsed->FindValue("OnRoot"), nullptr);
  EXPECT_EQ(parsed->FindValue("onroot")->data, "1");
}

struct DamagedCase {
  std::string text;
  std::string problem;
};

TEST(RegistryText, DamagedTextIsRefusedWithItsLineAndReason) {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Classes\\k]\r\n";
  const DamagedCase cases[] = {
      {"", "line 1: the file does not start with REGEDIT4"},
      {"Windows Registry Editor Version 5.00\r\n", "line 1: the file does not start with REGEDIT4"},
      {"\xEF\xBB\xBFREGEDIT4\r\n", "line 1: the file does not start with REGEDIT4"},
      {"REGEDIT4\r\n@=\"x\"\r\n", "line 2: a value before the first key"},
      {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\k]\r\n",
       "line 2: a key outside HKEY_CURRENT_USER\\Software\\Classes"},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\ClassesX]\r\n",
       "line 2: a key outside HKEY_CURRENT_USER\\Software\\Classes"},
      {"REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software\\Classes\\k]\r\n",
       "line 2: a key outside HKEY_CURRENT_USER\\Software\\Classes"},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\a\\\\b]\r\n",
       "line 2: a key name that is empty, too long or holds a control character"},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\]\r\n",
       "line 2: a key name that is empty, too long or holds a control character"},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\a\0b]\r\n"s,
       "line 2: a key name that is empty, too long or holds a control character"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Classes\\a\rb]\n",
       "line 2: a key name that is empty, too long or holds a control character"},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\" + std::string(256, 'k') + "]\r\n",
       "line 2: a key name that is empty, too long or holds a control character"},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\k\r\n",
       "line 2: a key name without its closing bracket"},
      {"REGEDIT4\r\n" + key + "\"x\"=dword:00000001\r\n",
       "line 3: a value that is not a plain string"},
      {"REGEDIT4\r\n" + key + "@=\"open\r\n", "line 3: a value that is not a plain string"},
      {"REGEDIT4\r\n" + key + "@=\"a\\qb\"\r\n", "line 3: a value that is not a plain string"},
      {"REGEDIT4\r\n" + key + "@=\"x\" trailing\r\n", "line 3: a value that is not a plain string"},
      {"REGEDIT4\r\n" + key + "\"x\" = \"y\"\r\n", "line 3: unreadable value name"},
      {"REGEDIT4\r\n" + key + "garbage\r\n", "line 3: unreadable value name"},
      {"REGEDIT4\r\n\r\n" + key + "  \r\n", "line 4: unreadable value name"},
      {"REGEDIT4\r\n" + key + "@=\"a\0b\"\r\n"s, "line 3: a NUL or a carriage return in a value"},
      {"REGEDIT4\r\n" + key + "@=\"a\rb\"\r\n", "line 3: a NUL or a carriage return in a value"},
      {"REGEDIT4\n" + key + "@=\"\r\"\n", "line 3: a NUL or a carriage return in a value"},
      {"REGEDIT4\r\n" + key + "\"\0\"=\"\"\r\n"s, "line 3: a NUL or a carriage return in a value"},
      {"REGEDIT4\r\n" + key + "\"a\rb\"=\"\"\r\n", "line 3: a NUL or a carriage return in a value"},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_FALSE(ParseRegistryText(c.text, problem)) << c.text;
    EXPECT_EQ(problem, c.problem) << c.text;
  }
}

TEST(RegistryText, LineBreaksAndNulsInValuesCannotBeWritten) {
  for (const std::string& data :
       {std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)}) {
    RegistryNode byData;
    byData.ProvideSubkey("k").SetValue("", data);
    EXPECT_EQ(FormatRegistryText(byData), std::nullopt);
    RegistryNode byName;
    byName.ProvideSubkey("k").SetValue(data, "");
    EXPECT_EQ(FormatRegistryText(byName), std::nullopt);
  }
}

// Whatever loads can be saved again and loads back the same: a store that loads but cannot be
// saved would refuse every registration with no word about the file. Checked on every short
// piece made of the characters that matter to the format, as a value, a value name, a key name
// and a whole line. The default value comes back first, as the format writes it, so the trees
// are compared through their text.
TEST(RegistryText, EverythingThatLoadsIsSavedAndLoadsBackTheSame) {
  const std::string alphabet("a\"\\\r\n\0[]@="s);
  const std::string key = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\k]\r\n";
  std::vector<std::string> pieces{""};
  for (std::size_t i = 0; pieces[i].size() < 4; ++i) {
    for (const char c : alphabet) pieces.push_back(pieces[i] + c);
  }
  std::size_t loaded = 0;
  for (const auto& piece : pieces) {
    for (const std::string& text :
         {key + "@=\"" + piece + "\"", key + "\"" + piece + "\"=\"\"", key + piece,
          "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes" + piece + "]"}) {
      std::string problem;
      const auto parsed = ParseRegistryText(text, problem);
      if (!parsed) continue;
      ++loaded;
      const auto saved = FormatRegistryText(*parsed);
      ASSERT_TRUE(saved) << ::testing::PrintToString(text);
      const auto reloaded = ParseRegistryText(*saved, problem);
      ASSERT_TRUE(reloaded) << ::testing::PrintToString(text) << problem;
      EXPECT_EQ(FormatRegistryText(*reloaded), saved) << ::testing::PrintToString(text);
    }
  }
  EXPECT_GT(loaded, 1000u);  // the pieces reach far enough to load in many shapes
}

}  // namespace
}  // namespace trelik
