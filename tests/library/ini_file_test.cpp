#include "library/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

TEST(IniFile, MissingFileSectionOrKeyReadsAsTheDefault) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "");
  EXPECT_EQ(settings.ReadText("mainfile", "Web", "fallback"), "fallback");
  EXPECT_FALSE(settings.ReadFlag("autoopen", "Web", false));
  EXPECT_TRUE(settings.ReadFlag("autoopen", "Web", true));
  EXPECT_FALSE(std::filesystem::exists(settings.Path()));  // reading creates nothing

  settings.WriteText("mainfile", "Other", "x");
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "");
  EXPECT_EQ(settings.ReadText("autoopen", "Other", "none"), "none");
}

TEST(IniFile, FirstWriteCreatesFileSectionAndKey) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  settings.WriteText("mainfile", "Web", "index.htm");
  settings.WriteFlag("autoopen", "Web", true);

  const std::string text = ReadFileBytes(settings.Path());
  EXPECT_NE(text.find("[mainfile]\r\nWeb=index.htm\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[autoopen]\r\nWeb=1\r\n"), std::string::npos) << text;
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "index.htm");
  EXPECT_TRUE(settings.ReadFlag("autoopen", "Web", false));
  // Nothing but the settings file is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(IniFile, WritesReplaceAndFlagsAreStoredAsOneAndZero) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  settings.WriteText("mainfile", "Web", "index.htm");
  settings.WriteText("mainfile", "Web", "main.htm");
  settings.WriteFlag("autoopen", "Web", true);
  settings.WriteFlag("autoopen", "Web", false);
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "main.htm");
  EXPECT_EQ(settings.ReadText("autoopen", "Web", ""), "0");
  EXPECT_FALSE(settings.ReadFlag("autoopen", "Web", true));
}

TEST(IniFile, SectionAndKeyNamesIgnoreLetterCase) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  settings.WriteText("MainFile", "My Site", "index.htm");
  EXPECT_EQ(settings.ReadText("mainfile", "MY SITE", ""), "index.htm");
  settings.WriteText("MAINFILE", "my site", "other.htm");
  EXPECT_EQ(settings.ReadText("mainfile", "My Site", ""), "other.htm");
  settings.RemoveKey("mainfile", "MY site");
  EXPECT_EQ(settings.ReadText("mainfile", "My Site", "gone"), "gone");
}

TEST(IniFile, RemoveKeyLeavesTheOtherKeys) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  settings.WriteText("mainfile", "Web", "index.htm");
  settings.WriteText("mainfile", "Script", "run.py");
  settings.WriteFlag("autoopen", "Web", true);
  settings.RemoveKey("mainfile", "Web");
  settings.RemoveKey("mainfile", "Never");
  settings.RemoveKey("nosection", "Web");
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "");
  EXPECT_EQ(settings.ReadText("mainfile", "Script", ""), "run.py");
  EXPECT_TRUE(settings.ReadFlag("autoopen", "Web", false));
}

TEST(IniFile, RemoveKeyOnAMissingFileCreatesNothing) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  settings.RemoveKey("mainfile", "Web");
  EXPECT_FALSE(std::filesystem::exists(settings.Path()));
}

TEST(IniFile, LongValuesReadBackCutTo2047Characters) {
  TempFolder folder;
  TIniFile settings(folder / "trelik.ini");
  const std::string value(3000, 'a');
  settings.WriteText("mainfile", "Web", value);
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), value.substr(0, 2047));
}

TEST(IniFile, ReadsFilesWrittenByHand) {
  TempFolder folder;
  WriteFileBytes(folder / "trelik.ini",
                 "[mainfile]\r\n Web = index.htm \r\n[autoopen]\r\nWeb=$1F\r\nOld=yes\r\n");
  TIniFile settings(folder / "trelik.ini");
  EXPECT_EQ(settings.ReadText("mainfile", "Web", ""), "index.htm");
  EXPECT_TRUE(settings.ReadFlag("autoopen", "Web", false));
  EXPECT_TRUE(settings.ReadFlag("autoopen", "Old", true));
  EXPECT_FALSE(settings.ReadFlag("autoopen", "Old", false));
}

// A section read at once gives every key what a read of that key gives.
TEST(IniFile, ASectionReadAtOnceReadsAsKeyByKey) {
  const std::string longValue(3000, 'v');
  const struct {
    const char* text;
    const char* section;
  } files[] = {
      {"[mainfile]\r\n Web = index.htm \r\nweb=second\r\nQuoted=\"a b\"\r\nBare\r\n", "MAINFILE"},
      {"[autoopen]\nWeb=1\n[other]\nShop=1\n[AutoOpen]\nShop=1\n", "autoopen"},
      {"[mainfile]\r\nEmpty=\r\n;Web=commented\r\n", "mainfile"},
      {"[ mainfile ]\rWeb='single'\rLong=", "mainfile"},
      {"", "mainfile"},
  };
  for (const auto& file : files) {
    TempFolder folder;
    std::string text = file.text;
    if (text.ends_with("Long=")) text += longValue;
    WriteFileBytes(folder / "trelik.ini", text);
    const TIniFile settings(folder / "trelik.ini");
    const IniSection section = settings.ReadSection(file.section);
    for (const char* key :
         {"Web", "WEB", " web ", "Shop", "Quoted", "Bare", "Empty", "Long", "Missing"}) {
      for (const char* defaultValue : {"", "fallback  "}) {
        EXPECT_EQ(section.Read(key, defaultValue),
                  settings.ReadText(file.section, key, defaultValue))
            << file.text << " key " << key;
      }
    }
  }
}

TEST(IniFile, AFailedWriteRaisesTheUnableToWriteError) {
  TempFolder folder;
  WriteFileBytes(folder / "blocker", "a file where a folder should be");
  TIniFile settings(folder / "blocker" + std::string(1, folder.Path().back()) + "trelik.ini");
  try {
    settings.WriteText("mainfile", "Web", "index.htm");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + settings.Path());
  }
}

TEST(IniFile, AnExistingEntryThatCannotBeReadIsNeverReplaced) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "trelik.ini");
  TIniFile settings(folder / "trelik.ini");
  EXPECT_THROW(settings.WriteText("mainfile", "Web", "index.htm"), Error);
  EXPECT_TRUE(std::filesystem::is_directory(settings.Path()));
}

}  // namespace
}  // namespace trelik
