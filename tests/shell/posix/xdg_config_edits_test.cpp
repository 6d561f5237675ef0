#include "shell/posix/xdg_config_edits.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct DefaultsCase {
  std::string before;
  std::vector<std::string> types;
  std::string after;
};

TEST(EditDefaultApplications, AddsAndRemovesOnlyOurLines) {
  const std::string ours = "application/x-trelik=trelik.desktop\n";
  const DefaultsCase cases[] = {
      {"", {"application/x-trelik"}, "[Default Applications]\n" + ours},
      {"[Default Applications]\ntext/plain=gedit.desktop\n\n[Added Associations]\nx=y\n",
       {"application/x-trelik"},
       "[Default Applications]\ntext/plain=gedit.desktop\n" + ours +
           "\n[Added Associations]\nx=y\n"},
      {"[Added Associations]\nx=y",
       {"application/x-trelik"},
       "[Added Associations]\nx=y\n\n[Default Applications]\n" + ours},
      // A default the user chose for one of our types stays.
      {"[Default Applications]\napplication/x-trelik=other.desktop\n",
       {"application/x-trelik"},
       "[Default Applications]\napplication/x-trelik=other.desktop\n"},
      // Types that are gone lose our line, not the user's, and other sections are not ours.
      {"[Default Applications]\napplication/x-trelik-old=trelik.desktop;\n"
       "application/x-trelik-mine=other.desktop\n"
       "[Added Associations]\napplication/x-trelik-old=trelik.desktop\n",
       {},
       "[Default Applications]\napplication/x-trelik-mine=other.desktop\n"
       "[Added Associations]\napplication/x-trelik-old=trelik.desktop\n"},
      {"[Default Applications]\n" + ours,
       {"application/x-trelik"},
       "[Default Applications]\n" + ours},
      {"# comment\n[Default Applications]\n",
       {"application/x-trelik", "application/x-trelik-a"},
       "# comment\n[Default Applications]\n" + ours + "application/x-trelik-a=trelik.desktop\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EditDefaultApplications(c.before, c.types, "application/x-trelik", "trelik.desktop"),
              c.after)
        << c.before;
  }
}

TEST(TemplatesFolderSetting, ExpandsHomeAndTellsUnsetFromTurnedOff) {
  const std::pair<std::string, std::string> cases[] = {
      // user-dirs.dirs, folder or state
      {"", "unset"},
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "unset"},
      {"XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n", "/home/u/Templates"},
      {"XDG_TEMPLATES_DIR=\"$HOME/Mod\xC3\xA8les/\"\n", "/home/u/Mod\xC3\xA8les"},
      {"XDG_TEMPLATES_DIR=\"/srv/templates\"\n", "/srv/templates"},
      {"XDG_TEMPLATES_DIR=\"$HOME/\"\n", "off"},
      {"XDG_TEMPLATES_DIR=\"$HOME\"\n", "off"},
      {"XDG_TEMPLATES_DIR=\"relative\"\n", "unset"},
      {"# XDG_TEMPLATES_DIR=\"$HOME/Old\"\n", "unset"},
      {"XDG_TEMPLATES_DIR=\"$HOME/\"\nXDG_TEMPLATES_DIR=\"$HOME/T\"\n", "/home/u/T"},
  };
  for (const auto& [userDirs, expected] : cases) {
    const auto setting = ReadTemplatesFolderSetting(userDirs, "/home/u");
    using State = TemplatesFolderSetting::State;
    EXPECT_EQ(setting.state == State::kSet         ? setting.folder
              : setting.state == State::kTurnedOff ? "off"
                                                   : "unset",
              expected)
        << userDirs;
  }
}

TEST(SetDefaultTemplatesFolder, ReplacesOrAddsOnlyThatLine) {
  EXPECT_EQ(SetDefaultTemplatesFolder(""), "XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n");
  EXPECT_EQ(SetDefaultTemplatesFolder("# kept\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                      "XDG_TEMPLATES_DIR=\"$HOME/\"\nXDG_MUSIC_DIR=\"$HOME/M\""),
            "# kept\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_TEMPLATES_DIR=\"$HOME/Templates\"\n"
            "XDG_MUSIC_DIR=\"$HOME/M\"\n");
  const std::string mine = "# kept\nXDG_TEMPLATES_DIR=\"$HOME/Templates\"\nXDG_A=b\n";
  EXPECT_EQ(PutBackTemplatesFolder(mine, "XDG_TEMPLATES_DIR=x"),
            "# kept\nXDG_TEMPLATES_DIR=x\nXDG_A=b\n");
  EXPECT_EQ(PutBackTemplatesFolder(mine, ""), "# kept\nXDG_A=b\n");
  EXPECT_EQ(PutBackTemplatesFolder("XDG_TEMPLATES_DIR=\"$HOME/T\"\n", ""), std::nullopt);
  // The setting that counts is the last: a line of the user's like ours before it stays.
  const std::string unusable =
      "XDG_TEMPLATES_DIR=\"$HOME/Templates\"\nXDG_A=b\nXDG_TEMPLATES_DIR=relative\n";
  EXPECT_EQ(
      PutBackTemplatesFolder(SetDefaultTemplatesFolder(unusable), "XDG_TEMPLATES_DIR=relative"),
      unusable);
}

}  // namespace
}  // namespace trelik
