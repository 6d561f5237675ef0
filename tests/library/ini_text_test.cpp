#include "library/ini_text.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct ReadCase {
  std::string file;
  std::string section;
  std::string key;
  std::string expected;  // read with the default "dflt"
};

TEST(IniTextRead, LookUpRules) {
  const ReadCase cases[] = {
      {"[mainfile]\r\nWeb=index.htm\r\n", "mainfile", "Web", "index.htm"},
      {"[MainFile]\r\nWEB=index.htm\r\n", "mainfile", "web", "index.htm"},
      {"[mainfile]\nWeb=index.htm", "mainfile", "Web", "index.htm"},
      {"  [mainfile]  \r\n  Web  =  index.htm  \r\n", "mainfile", "Web", "index.htm"},
      {"[mainfile]\r\nWeb=\"a b \"\r\n", "mainfile", "Web", "a b "},
      {"[mainfile]\r\nWeb='x'\r\n", "mainfile", "Web", "x"},
      {"[mainfile]\r\nWeb=\"x'\r\n", "mainfile", "Web", "\"x'"},
      {"[mainfile]\r\nWeb=\"\r\n", "mainfile", "Web", "\""},
      {"[mainfile]\r\nWeb=\r\n", "mainfile", "Web", ""},
      {"[mainfile]\r\nWeb=a=b\r\n", "mainfile", "Web", "a=b"},
      {"[mainfile]\r\nWeb=1\r\nWeb=2\r\n", "mainfile", "Web", "1"},
      {"[a]\r\nk=1\r\n[b]\r\nk=2\r\n", "b", "k", "2"},
      {"[a]\r\nk=1\r\n", "b", "k", "dflt"},
      {"[a]\r\nk=1\r\n", "a", "other", "dflt"},
      {"", "a", "k", "dflt"},
      {"k=1\r\n[a]\r\n", "a", "k", "dflt"},  // keys before any section belong to none
      {"[a]\r\nx=1\r\n[b]\r\n[a]\r\nk=2\r\n", "a", "k", "dflt"},  // only the first [a]
      {"[My Site]\r\nk=v\r\n", "my site", "k", "v"},
      {"[a]\r\nmy key=v\r\n", "a", "MY KEY", "v"},
      {"[a]\r\nCaf\xc3\xa9=v\r\n", "a", "Caf\xc3\xa9", "v"},
      {"[ a ]\r\nk=v\r\n", "a", "k", "v"},  // names are compared trimmed
      {"[a]\r\nk=v\r\n", " a ", " k ", "v"},
      {"[a]\rk=v\rj=w\r", "a", "j", "w"},             // a lone CR ends a line
      {"\xEF\xBB\xBF[a]\r\nk=v\r\n", "a", "k", "v"},  // a UTF-8 byte order mark is skipped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniText(c.file).Read(c.section, c.key, "dflt"), c.expected)
        << c.file << " [" << c.section << "] " << c.key;
  }
}

TEST(IniTextRead, ValuesAndDefaultsAreCutTo2047Characters) {
  const std::string long3000(3000, 'v');
  EXPECT_EQ(IniText("[a]\r\nk=" + long3000 + "\r\n").Read("a", "k", ""), long3000.substr(0, 2047));
  EXPECT_EQ(IniText("").Read("a", "k", long3000), long3000.substr(0, 2047));
  EXPECT_EQ(IniText("").Read("a", "k", "dflt   "), "dflt");
}

struct WriteCase {
  std::string before;
  std::string after;  // after writing [mainfile] Web=new.htm
};

TEST(IniTextWrite, CreatesReplacesAndKeepsTheRest) {
  const WriteCase cases[] = {
      {"", "[mainfile]\r\nWeb=new.htm\r\n"},
      {"[autoopen]\r\nWeb=1\r\n", "[autoopen]\r\nWeb=1\r\n[mainfile]\r\nWeb=new.htm\r\n"},
      {"[autoopen]\r\nWeb=1", "[autoopen]\r\nWeb=1\r\n[mainfile]\r\nWeb=new.htm\r\n"},
      {"[mainfile]\r\nWeb=old.htm\r\n", "[mainfile]\r\nWeb=new.htm\r\n"},
      {"[MAINFILE]\r\n  WEB = old\r\nx=1\r\n", "[MAINFILE]\r\nWEB=new.htm\r\nx=1\r\n"},
      {"[mainfile]\nWeb=old", "[mainfile]\nWeb=new.htm"},
      {"[mainfile]\r\nA=a.htm\r\n\r\n[autoopen]\r\nA=1\r\n",
       "[mainfile]\r\nA=a.htm\r\nWeb=new.htm\r\n\r\n[autoopen]\r\nA=1\r\n"},
      {"; notes\r\n[mainfile]\r\n", "; notes\r\n[mainfile]\r\nWeb=new.htm\r\n"},
      {"[mainfile]\rWeb=old\rA=1\r", "[mainfile]\rWeb=new.htm\rA=1\r"},
      {"[x]\rA=1\r", "[x]\rA=1\r[mainfile]\r\nWeb=new.htm\r\n"},
  };
  for (const auto& c : cases) {
    IniText ini(c.before);
    ini.Write("mainfile", "Web", "new.htm");
    EXPECT_EQ(ini.Text(), c.after) << c.before;
    EXPECT_EQ(ini.Read("mainfile", "Web", ""), "new.htm") << c.before;
  }
}

TEST(IniTextRemove, RemovesOnlyThatKeyLine) {
  IniText ini("[mainfile]\r\nA=a\r\nWeb=w\r\n[autoopen]\r\nWeb=1\r\n");
  EXPECT_TRUE(ini.Remove("MainFile", "web"));
  EXPECT_EQ(ini.Text(), "[mainfile]\r\nA=a\r\n[autoopen]\r\nWeb=1\r\n");
  EXPECT_FALSE(ini.Remove("mainfile", "Web"));
  EXPECT_FALSE(ini.Remove("nosection", "A"));
  EXPECT_EQ(ini.Text(), "[mainfile]\r\nA=a\r\n[autoopen]\r\nWeb=1\r\n");
}

TEST(IniTextRemove, LoneCarriageReturnLinesAreRemovedWhole) {
  IniText ini("[a]\rk=v\rj=w\r");
  EXPECT_TRUE(ini.Remove("a", "k"));
  EXPECT_EQ(ini.Text(), "[a]\rj=w\r");
}

}  // namespace
}  // namespace trelik
