#include "library/template_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;
using List = std::vector<std::string>;

struct ParseCase {
  std::string text;
  List entries;
};

TEST(TemplateListText, LineRules) {
  const ParseCase cases[] = {
      {"", {}},
      {"Web\r\nScript\r\n", {"Web", "Script"}},
      {"Web\nScript\n", {"Web", "Script"}},
      {"Web\rScript\r", {"Web", "Script"}},
      {"Web\r\nScript", {"Web", "Script"}},      // a last line without a line end
      {"Web\n\rScript", {"Web", "", "Script"}},  // LF CR ends two lines
      {"Web\r\n\r\nScript\r\n", {"Web", "", "Script"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"Web\r\nScr\0ipt\r\nMore", {"Web", "Scr"}},  // the text ends at a NUL
      {"\0Web", {}},
      {"My Site\r\n  spaced  \r\n", {"My Site", "  spaced  "}},      // nothing is trimmed
      {"Web\r\nweb\r\nWeb\r\n", {"Web", "web", "Web"}},              // nor deduplicated
      {"\xEF\xBB\xBFWeb\r\n\xEF\xBB\xBF", {"Web", "\xEF\xBB\xBF"}},  // a leading BOM goes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTemplateListText(c.text), c.entries) << c.text;
  }
}

TEST(TemplateListText, EveryEntryEndsInCrLf) {
  EXPECT_EQ(FormatTemplateListText({}), "");
  EXPECT_EQ(FormatTemplateListText({"Web", "", "My Site"}), "Web\r\n\r\nMy Site\r\n");
  const List list{"Web", "", "  x  ", "Caf\xc3\xa9"};
  EXPECT_EQ(ParseTemplateListText(FormatTemplateListText(list)), list);
}

TEST(TemplateListFile, SaveAndLoadRoundTrip) {
  TempFolder folder;
  const std::string path = folder / "projects.lib";
  const List saved{"Web", "", "My Site"};
  SaveTemplateList(path, saved);
  EXPECT_EQ(ReadFileBytes(path), "Web\r\n\r\nMy Site\r\n");
  List loaded{"stale entry"};
  LoadTemplateList(path, loaded);
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(TemplateListFile, EmptyListIsAZeroByteFileAndBack) {
  TempFolder folder;
  const std::string path = folder / "projects.lib";
  WriteFileBytes(path, "old\r\n");
  SaveTemplateList(path, {});
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  List loaded{"stale entry"};
  LoadTemplateList(path, loaded);
  EXPECT_TRUE(loaded.empty());
}

TEST(TemplateListFile, LoadsMixedLineEndsAndStopsAtNul) {
  TempFolder folder;
  const std::string path = folder / "projects.lib";
  WriteFileBytes(path, std::string("A\r\nB\nC\rD\n\rE\0F\r\n", 15));
  List loaded;
  LoadTemplateList(path, loaded);
  EXPECT_EQ(loaded, (List{"A", "B", "C", "D", "", "E"}));
}

TEST(TemplateListFile, AByteOrderMarkIsSkippedAndKeptOnSave) {
  TempFolder folder;
  WriteFileBytes(folder / "p.lib", "\xEF\xBB\xBFWeb\r\n");
  List loaded;
  LoadTemplateList(folder / "p.lib", loaded);
  EXPECT_EQ(loaded, List{"Web"});
  SaveTemplateList(folder / "p.lib", loaded);
  EXPECT_EQ(ReadFileBytes(folder / "p.lib"), "\xEF\xBB\xBFWeb\r\n");
}

TEST(TemplateListFile, AMissingFileRaisesCannotOpenAndKeepsTheList) {
  TempFolder folder;
  const std::string path = folder / "projects.lib";
  List list{"kept"};
  try {
    LoadTemplateList(path, list);
    FAIL() << "no error";
  } catch (const Error& error) {
    const std::string message = error.what();
    const std::string start = "Cannot open file \"" + path + "\". ";
    ASSERT_EQ(message.substr(0, start.size()), start);
    const std::string reason = message.substr(start.size());
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), '.');
    EXPECT_NE(reason.back(), '\n');
  }
  EXPECT_EQ(list, List{"kept"});
}

TEST(TemplateListFile, AnUncreatableFileRaisesCannotCreate) {
  TempFolder folder;
  WriteFileBytes(folder / "blocker", "a file where a folder should be");
  const std::string path = folder / "blocker" + std::string(1, folder.Path().back()) + "p.lib";
  try {
    SaveTemplateList(path, {"Web"});
    FAIL() << "no error";
  } catch (const Error& error) {
    const std::string message = error.what();
    const std::string start = "Cannot create file \"" + path + "\". ";
    ASSERT_EQ(message.substr(0, start.size()), start);
    EXPECT_GT(message.size(), start.size());
    EXPECT_NE(message.back(), '.');
  }
  EXPECT_EQ(ReadFileBytes(folder / "blocker"), "a file where a folder should be");
}

TEST(TemplateListFile, ARelativePathIsShownMadeAbsolute) {
  List list;
  try {
    LoadTemplateList("no-such-trelik-list.lib", list);
    FAIL() << "no error";
  } catch (const Error& error) {
    const std::string absolute = std::filesystem::absolute("no-such-trelik-list.lib").string();
    EXPECT_NE(std::string(error.what()).find("\"" + absolute + "\""), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace trelik
