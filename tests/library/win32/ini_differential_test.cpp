// Our portable INI reader, which the Linux build uses, must read every file exactly as the
// system's private-profile functions do.
#include <gtest/gtest.h>
#include <windows.h>

#include "library/ini_text.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

using testing::TempFolder;
using testing::WriteFileBytes;

struct Lookup {
  std::string section;
  std::string key;
  std::string defaultValue = "dflt";
};

struct DifferentialCase {
  std::string file;
  std::vector<Lookup> lookups;
};

std::string SystemRead(const std::string& path, const Lookup& lookup) {
  char buffer[2048];
  const DWORD length =
      GetPrivateProfileStringA(lookup.section.c_str(), lookup.key.c_str(),
                               lookup.defaultValue.c_str(), buffer, sizeof buffer, path.c_str());
  return std::string(buffer, length);
}

const std::vector<DifferentialCase>& Cases() {
  static const std::vector<DifferentialCase> cases = {
      {"[a]\r\n  k  =  v  \r\n", {{"a", "k"}, {"A", "K"}, {"a", "k "}}},
      {"[a]\r\n\tk\t=\tv w\t\r\n", {{"a", "k"}}},
      {"[a]\r\nq1=\"v\"\r\nq2='v'\r\nq3=\"v'\r\nq4=\"\r\nq5=\"\"\r\nq6=\" v \"\r\n"
       "q7=\"a\"b\"\r\nq8=x\"y\"\r\n",
       {{"a", "q1"},
        {"a", "q2"},
        {"a", "q3"},
        {"a", "q4"},
        {"a", "q5"},
        {"a", "q6"},
        {"a", "q7"},
        {"a", "q8"}}},
      {"[ a ]\r\nk=v\r\n", {{"a", "k"}, {" a ", "k"}}},
      {"[a\r\nk=v\r\n", {{"a", "k"}, {"a\r", "k"}}},
      {"[a] trailing\r\nk=v\r\n", {{"a", "k"}}},
      {"[a]b]\r\nk=v\r\n", {{"a", "k"}, {"a]b", "k"}}},
      {"; comment\r\n[a]\r\n;k=hidden\r\nk=real\r\n", {{"a", "k"}, {"a", ";k"}}},
      {"[a]\r\nk\r\nm=\r\n", {{"a", "k"}, {"a", "m"}}},
      {"[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nk=2\r\n", {{"a", "k"}, {"a", "x"}, {"b", "y"}}},
      {"[a]\r\nk=1\r\nK=2\r\n", {{"a", "k"}}},
      {"[a]\rk=v\rj=w\r", {{"a", "k"}, {"a", "j"}}},
      {"[a]\nk=v\nj=w", {{"a", "k"}, {"a", "j"}}},
      {"[a]\r\nk=v\x1a\r\n", {{"a", "k"}}},
      {"k=top\r\n[a]\r\nj=1\r\n", {{"a", "k"}, {"a", "j"}}},
      {"[a]\r\nk=x=y\r\n", {{"a", "k"}}},
      {"\xEF\xBB\xBF[a]\r\nk=v\r\n", {{"a", "k"}}},
      {"[a]\r\n\r\n   \r\nmy key = my value\r\n", {{"a", "my key"}, {"a", "MY KEY"}}},
      {"[a]\r\nk=" + std::string(3000, 'x') + "\r\n", {{"a", "k"}}},
      {"", {{"a", "k"}, {"a", "k", "dflt  "}, {"a", "k", ""}}},
      {"[mainfile]\r\nWeb=index.htm\r\n[autoopen]\r\nWeb=1\r\n",
       {{"mainfile", "Web"}, {"autoopen", "web"}, {"autoopen", "Missing", ""}}},
  };
  return cases;
}

TEST(IniDifferential, PortableReaderMatchesTheSystem) {
  TempFolder folder;
  const std::string path = folder / "case.ini";
  for (const auto& c : Cases()) {
    WriteFileBytes(path, c.file);
    const IniText ini(c.file);
    for (const auto& lookup : c.lookups) {
      EXPECT_EQ(ini.Read(lookup.section, lookup.key, lookup.defaultValue), SystemRead(path, lookup))
          << "file: " << ::testing::PrintToString(c.file)
          << "\nsection: " << ::testing::PrintToString(lookup.section)
          << " key: " << ::testing::PrintToString(lookup.key);
    }
  }
}

// What our writer produces must read back through the system as what the system's own writer
// produces reads back.
TEST(IniDifferential, PortableWriterReadsBackLikeTheSystemWriter) {
  TempFolder folder;
  const std::string ours = folder / "ours.ini";
  const std::string system = folder / "system.ini";
  const std::string start = "; kept\r\n[autoopen]\r\nWeb=1\r\n\r\n[MainFile]\r\n  WEB = old\r\n";
  WriteFileBytes(system, start);
  IniText ini(start);
  struct Step {
    std::string section, key;
    const char* value;  // null removes the key
  };
  const Step steps[] = {{"mainfile", "Web", "index.htm"}, {"mainfile", "Script", "run.py"},
                        {"autoopen", "web", nullptr},     {"new", "k", "v"},
                        {"autoopen", "Script", "0"},      {"mainfile", "never", nullptr}};
  for (const auto& step : steps) {
    WritePrivateProfileStringA(step.section.c_str(), step.key.c_str(), step.value, system.c_str());
    if (step.value) {
      ini.Write(step.section, step.key, step.value);
    } else {
      ini.Remove(step.section, step.key);
    }
  }
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, system.c_str());
  WriteFileBytes(ours, ini.Text());
  for (const auto& [section, key] :
       std::vector<std::pair<std::string, std::string>>{{"mainfile", "Web"},
                                                        {"mainfile", "Script"},
                                                        {"autoopen", "Web"},
                                                        {"new", "k"},
                                                        {"autoopen", "Script"},
                                                        {"mainfile", "never"}}) {
    EXPECT_EQ(SystemRead(ours, {section, key}), SystemRead(system, {section, key}))
        << section << " " << key << "\nours:\n"
        << ini.Text();
  }
}

}  // namespace
}  // namespace trelik
