#include "shell/posix/desktop_files.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

DesktopType Base() { return {".trelik", "", "Trelik", "application/x-trelik", false}; }
DesktopType Template(const std::string& name, const std::string& mimeType) {
  return {".trelik_" + name, name, "trelik_" + name, mimeType, true};
}

std::string LineStartingWith(const std::string& text, const std::string& start) {
  const auto at = text.find("\n" + start);
  if (at == std::string::npos) return "";
  return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

// Quoted only when the Desktop Entry rules require it: xdg-open's generic mode cannot start a
// quoted program.
TEST(ApplicationEntry, QuotesTheExecutableOnlyWhenItHoldsAReservedCharacter) {
  const std::pair<std::string, std::string> cases[] = {
      {"/usr/bin/trelik", "Exec=/usr/bin/trelik %f"},
      {"/opt/tr-elik_1.0/+x=y,z@\xC3\xA9/trelik",
       "Exec=/opt/tr-elik_1.0/+x=y,z@\xC3\xA9/trelik %f"},
      {"/o/100%/t", "Exec=/o/100%%/t %f"},
      {"/home/me/my apps/trelik", "Exec=\"/home/me/my apps/trelik\" %f"},
      {"/o/100% x/t", "Exec=\"/o/100%% x/t\" %f"},
      {"/o/it's/t", "Exec=\"/o/it's/t\" %f"},
      {"/o/~a/t", "Exec=\"/o/~a/t\" %f"},
      {"/o/a&b;c|d<e>f*g?h#i(j)/t", "Exec=\"/o/a&b;c|d<e>f*g?h#i(j)/t\" %f"},
      {"/o/\"q\"/t", "Exec=\"/o/\\\\\"q\\\\\"/t\" %f"},
      {"/o/$x`y`/t", "Exec=\"/o/\\\\$x\\\\`y\\\\`/t\" %f"},
      {"/o/back\\slash/t", "Exec=\"/o/back\\\\\\\\slash/t\" %f"},
      {"/o/tab\there/t", "Exec=\"/o/tab\\there/t\" %f"},
  };
  for (const auto& [path, exec] : cases) {
    EXPECT_EQ(LineStartingWith(ApplicationEntryText({Base()}, path), "Exec="), exec) << path;
  }
}

TEST(ApplicationEntry, ListsEveryMimeType) {
  const std::string text =
      ApplicationEntryText({Base(), Template("My Site", "application/x-trelik-my-site")}, "/t");
  EXPECT_EQ(LineStartingWith(text, "MimeType="),
            "MimeType=application/x-trelik;application/x-trelik-my-site;");
  EXPECT_EQ(LineStartingWith(text, "Type="), "Type=Application");
  EXPECT_EQ(LineStartingWith(text, "Icon="), "Icon=trelik");
  EXPECT_EQ(LineStartingWith(text, "NoDisplay="), "NoDisplay=true");
}

TEST(MimePackage, OneCaseSensitiveGlobPerTypeWithTheExactName) {
  const std::string text =
      MimePackageText({Base(), Template("R&D <\"x\">", "application/x-trelik-r-d-x")});
  EXPECT_NE(text.find("  <mime-type type=\"application/x-trelik\">\n"
                      "    <comment>Trelik</comment>\n"
                      "    <icon name=\"trelik\"/>\n"
                      "    <generic-icon name=\"trelik\"/>\n"
                      "    <glob pattern=\"*.trelik\" case-sensitive=\"true\"/>\n"
                      "  </mime-type>\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    <comment>trelik_R&amp;D &lt;&quot;x&quot;&gt;</comment>\n"
                      "    <icon name=\"trelik\"/>\n"
                      "    <generic-icon name=\"trelik\"/>\n"
                      "    <glob pattern=\"*.trelik_R&amp;D &lt;&quot;x&quot;&gt;\" "
                      "case-sensitive=\"true\"/>\n"),
            std::string::npos)
      << text;
}

TEST(NewMenuEntries, LauncherTemplateAndDolphinLink) {
  const DesktopType type = Template(" My Site", "application/x-trelik-my-site");
  EXPECT_EQ(LauncherTemplateName(type), " My Site.trelik_ My Site");
  std::string accents;  // 200 bytes: the name before the extension is cut at a character
  for (int i = 0; i < 100; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(LauncherTemplateName(Template(accents, "")),
            accents.substr(0, 46) + ".trelik_" + accents);
  EXPECT_EQ(DolphinLinkName(type), "trelik-my-site.desktop");
  const std::string link = DolphinLinkText(type, ".source/ My Site.trelik_ My Site");
  EXPECT_EQ(LineStartingWith(link, "Type="), "Type=Link");
  EXPECT_EQ(LineStartingWith(link, "Hidden="), "Hidden=true");
  EXPECT_EQ(LineStartingWith(link, "Name="), "Name=\\sMy Site");
  EXPECT_EQ(LineStartingWith(link, "URL="), "URL=.source/ My Site.trelik_ My Site");
}

}  // namespace
}  // namespace trelik
