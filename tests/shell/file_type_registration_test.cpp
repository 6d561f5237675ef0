#include "shell/file_type_registration.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "common/error.h"
#include "shell/memory_registry.h"
#include "shell/registry_test_support.h"
#include "support/refusing_registry.h"

namespace trelik {
namespace {

using testing::Layout;
using Lines = std::vector<std::string>;

constexpr const char* kExe = "C:\\Program Files\\Trelik\\trelik.exe";

// An in-memory registry that counts the calls that may change it.
class CountingRegistry : public MemoryRegistry {
 public:
  RegistryKey CreateKey(const std::string& path) override {
    ++changeCalls;
    return MemoryRegistry::CreateKey(path);
  }
  bool SetString(RegistryKey key, const std::string& valueName, const std::string& data) override {
    ++changeCalls;
    return MemoryRegistry::SetString(key, valueName, data);
  }

  int changeCalls = 0;
};

// A registration against an in-memory registry that counts the shell notifications.
class FileTypeRegistrationTest : public ::testing::Test {
 protected:
  RegistrationContext Context(const std::string& exe = kExe) {
    return {registry_, exe, [this] { ++notifications_; }};
  }
  void AddForeignKey(const std::string& path, const std::string& valueName,
                     const std::string& data) {
    const OpenedKey key(registry_, registry_.CreateKey(path));
    ASSERT_TRUE(registry_.SetString(key.Get(), valueName, data));
  }

  testing::RefusingRegistry registry_;
  int notifications_ = 0;
};

const Lines kBaseLayout = {
    ".trelik @=Trelik",
    "Trelik @=Trelik",
    "Trelik\\DefaultIcon @=C:\\Program Files\\Trelik\\trelik.exe,0",
    "Trelik\\Shell",
    "Trelik\\Shell\\Open @=&Open",
    "Trelik\\Shell\\Open\\Command @=\"C:\\Program Files\\Trelik\\trelik.exe\" \"%1\"",
};

const Lines kMySiteLayout = {
    ".trelik_My Site @=trelik_My Site",
    ".trelik_My Site\\ShellNew NullFile=",
    "trelik_My Site @=trelik_My Site",
    "trelik_My Site\\DefaultIcon @=C:\\Program Files\\Trelik\\trelik.exe,0",
    "trelik_My Site\\Shell",
    "trelik_My Site\\Shell\\Open @=&Open",
    "trelik_My Site\\Shell\\Open\\Command @=\"C:\\Program Files\\Trelik\\trelik.exe\" \"%1\"",
};

TEST_F(FileTypeRegistrationTest, BaseTypeHasNoNewMenuEntry) {
  RegisterFileType(Context(), ".trelik", "Trelik", false);
  EXPECT_EQ(Layout(registry_.Root()), kBaseLayout);
  EXPECT_EQ(notifications_, 1);
  EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

TEST_F(FileTypeRegistrationTest, TemplateNameIsUsedAsItStandsWithItsNewMenuEntry) {
  RegisterFileType(Context(), ".trelik_My Site", "trelik_My Site", true);
  EXPECT_EQ(Layout(registry_.Root()), kMySiteLayout);
  EXPECT_EQ(notifications_, 1);
  EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

TEST_F(FileTypeRegistrationTest, RegisteringAgainRewritesInPlaceAndKeepsForeignEntries) {
  RegisterFileType(Context("D:\\old\\trelik.exe"), ".trelik_My Site", "trelik_My Site", true);
  AddForeignKey(".trelik_My Site", "Content Type", "text/plain");
  AddForeignKey(".trelik_my site\\OpenWithProgids", "Other", "");
  AddForeignKey("TRELIK_MY SITE\\Shell\\Edit\\Command", "", "edit.exe");
  RegisterFileType(Context(), ".trelik_My Site", "trelik_My Site", true);

  EXPECT_EQ(Layout(registry_.Root()),
            (Lines{
                ".trelik_My Site @=trelik_My Site",
                ".trelik_My Site Content Type=text/plain",
                ".trelik_My Site\\ShellNew NullFile=",
                ".trelik_My Site\\OpenWithProgids Other=",
                "trelik_My Site @=trelik_My Site",
                "trelik_My Site\\DefaultIcon @=C:\\Program Files\\Trelik\\trelik.exe,0",
                "trelik_My Site\\Shell",
                "trelik_My Site\\Shell\\Open @=&Open",
                "trelik_My Site\\Shell\\Open\\Command @=\"C:\\Program Files\\Trelik\\trelik.exe\" "
                "\"%1\"",
                "trelik_My Site\\Shell\\Edit",
                "trelik_My Site\\Shell\\Edit\\Command @=edit.exe",
            }));
}

// Registration runs at every start: what already holds the data is neither created nor
// written again, and only a registration that wrote something tells the shell.
TEST_F(FileTypeRegistrationTest, OnlyValuesThatDifferAreWrittenAndOnlyThenIsTheShellTold) {
  struct Case {
    const char* what;
    std::function<void(MemoryRegistry&)> meanwhile;
    std::string exe;
    int changeCalls;  // CreateKey and SetString calls of the second registration
  };
  const Case cases[] = {
      {"nothing changed", [](MemoryRegistry&) {}, kExe, 0},
      {"the program moved", [](MemoryRegistry&) {}, "D:\\trelik.exe", 2},
      {"a key was deleted",
       [](MemoryRegistry& registry) {
         registry.DeleteKey(RegistryKey::kRoot, ".trelik_My Site\\ShellNew");
       },
       kExe, 2},
      {"a value differs in case",
       [](MemoryRegistry& registry) {
         const OpenedKey key(registry, registry.OpenKey(RegistryKey::kRoot, "trelik_My Site"));
         registry.SetString(key.Get(), "", "TRELIK_MY SITE");
       },
       kExe, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CountingRegistry registry;
    int notifications = 0;
    const RegistrationContext first{registry, kExe, [&] { ++notifications; }};
    RegisterFileType(first, ".trelik_My Site", "trelik_My Site", true);
    c.meanwhile(registry);
    registry.changeCalls = 0;
    notifications = 0;

    const RegistrationContext second{registry, c.exe, [&] { ++notifications; }};
    RegisterFileType(second, ".trelik_My Site", "trelik_My Site", true);
    EXPECT_EQ(registry.changeCalls, c.changeCalls);
    EXPECT_EQ(notifications, c.changeCalls > 0 ? 1 : 0);
    Lines expected = kMySiteLayout;
    if (c.exe != kExe) {
      expected[3] = "trelik_My Site\\DefaultIcon @=D:\\trelik.exe,0";
      expected[6] = "trelik_My Site\\Shell\\Open\\Command @=\"D:\\trelik.exe\" \"%1\"";
    }
    EXPECT_EQ(Layout(registry.Root()), expected);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
  }
}

struct RefusedWriteCase {
  std::string refusedKey;
  std::string message;
  Lines kept;
};

TEST_F(FileTypeRegistrationTest, ARefusedWriteStopsWithItsValueNameAndKeepsEarlierWrites) {
  const RefusedWriteCase cases[] = {
      {".trelik_Web", "Failed to set data for ''", {".trelik_Web"}},
      {".trelik_Web\\ShellNew",
       "Failed to set data for 'NullFile'",
       {".trelik_Web @=trelik_Web", ".trelik_Web\\ShellNew"}},
      {"trelik_Web\\DefaultIcon",
       "Failed to set data for ''",
       {".trelik_Web @=trelik_Web", ".trelik_Web\\ShellNew NullFile=", "trelik_Web @=trelik_Web",
        "trelik_Web\\DefaultIcon"}},
      {"trelik_Web\\Shell\\Open\\Command",
       "Failed to set data for ''",
       {".trelik_Web @=trelik_Web", ".trelik_Web\\ShellNew NullFile=", "trelik_Web @=trelik_Web",
        "trelik_Web\\DefaultIcon @=C:\\Program Files\\Trelik\\trelik.exe,0", "trelik_Web\\Shell",
        "trelik_Web\\Shell\\Open @=&Open", "trelik_Web\\Shell\\Open\\Command"}},
  };
  for (const auto& c : cases) {
    testing::RefusingRegistry registry;
    registry.RefuseWritesTo(c.refusedKey);
    int notifications = 0;
    try {
      RegisterFileType({registry, kExe, [&] { ++notifications; }}, ".trelik_Web", "trelik_Web",
                       true);
      ADD_FAILURE() << "no error when writing to " << c.refusedKey;
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), c.message.c_str()) << c.refusedKey;
    }
    EXPECT_EQ(Layout(registry.Root()), c.kept) << c.refusedKey;
    EXPECT_EQ(notifications, 0) << c.refusedKey;
    EXPECT_EQ(registry.OpenKeyCount(), 0u) << c.refusedKey;
  }
}

TEST_F(FileTypeRegistrationTest, WithoutRightsTheFirstWriteFailsAndNothingIsWritten) {
  registry_.RefuseAllChanges();
  try {
    RegisterFileType(Context(), ".trelik", "Trelik", false);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for ''");
  }
  EXPECT_TRUE(registry_.Root().subkeys.empty());
  EXPECT_EQ(notifications_, 0);
}

TEST_F(FileTypeRegistrationTest, UnregisterDeletesBothTreesWithEverythingBelowThem) {
  RegisterFileType(Context(), ".trelik", "Trelik", false);
  RegisterFileType(Context(), ".trelik_My Site", "trelik_My Site", true);
  RegisterFileType(Context(), ".trelik_My Site2", "trelik_My Site2", true);
  const Lines before = Layout(registry_.Root());
  AddForeignKey(".trelik_My Site\\OpenWithProgids", "Other", "");
  AddForeignKey("trelik_My Site\\Shell\\Edit\\Command", "", "edit.exe");
  AddForeignKey("trelik_My Site\\a\\b\\c\\d\\e", "deep", "1");
  for (const char* sibling : {"s1", "s2", "s3", "s4", "s5"}) {
    AddForeignKey(std::string("trelik_My Site\\DefaultIcon\\") + sibling, "", sibling);
  }
  notifications_ = 0;

  UnregisterFileType(Context(), "my site", "My Site");

  Lines expected = kBaseLayout;
  for (const auto& line : before) {
    if (line.find("My Site2") != std::string::npos) expected.push_back(line);
  }
  EXPECT_EQ(Layout(registry_.Root()), expected);
  EXPECT_EQ(notifications_, 1);
  EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

TEST_F(FileTypeRegistrationTest, UnregisterTakesEachSuffixForItsOwnKey) {
  RegisterFileType(Context(), ".trelik_A", "trelik_A", true);
  RegisterFileType(Context(), ".trelik_B", "trelik_B", true);
  UnregisterFileType(Context(), "A", "B");
  EXPECT_EQ(Layout(registry_.Root()),
            (Lines{
                "trelik_A @=trelik_A",
                "trelik_A\\DefaultIcon @=C:\\Program Files\\Trelik\\trelik.exe,0",
                "trelik_A\\Shell",
                "trelik_A\\Shell\\Open @=&Open",
                "trelik_A\\Shell\\Open\\Command @=\"C:\\Program Files\\Trelik\\trelik.exe\" \"%1\"",
                ".trelik_B @=trelik_B",
                ".trelik_B\\ShellNew NullFile=",
            }));
}

TEST_F(FileTypeRegistrationTest, UnregisterOfWhatIsMissingOrLockedPassesSilently) {
  RegisterFileType(Context(), ".trelik", "Trelik", false);
  UnregisterFileType(Context(), "Never", "Never");
  EXPECT_EQ(Layout(registry_.Root()), kBaseLayout);

  RegisterFileType(Context(), ".trelik_Web", "trelik_Web", true);
  const Lines registered = Layout(registry_.Root());
  registry_.RefuseAllChanges();
  notifications_ = 0;
  UnregisterFileType(Context(), "Web", "Web");
  EXPECT_EQ(Layout(registry_.Root()), registered);
  EXPECT_EQ(notifications_, 0);  // nothing changed
  EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

TEST_F(FileTypeRegistrationTest, UnregisterAllRemovesListedStaleAndBaseTypesOnly) {
  RegisterFileType(Context(), ".trelik", "Trelik", false);
  RegisterFileType(Context(), ".trelik_Web", "trelik_Web", true);
  RegisterFileType(Context(), ".trelik_Gone", "trelik_Gone", true);  // no longer listed
  RegisterFileType(Context("C:\\Windows\\notepad.exe"), ".trelik_notes", "trelik_notes", true);
  AddForeignKey(".txt", "", "txtfile");
  AddForeignKey(".trelikx", "", "other");
  AddForeignKey("TRELIK_Odd\\Shell", "", "left by hand");
  notifications_ = 0;

  const FileTypeRemoval removal =
      UnregisterAllFileTypes(Context(), {"Web", "Never registered", "web"}, kWindowsExecutable);
  EXPECT_EQ(removal.removed, (Lines{".trelik", "Trelik", ".trelik_Web", "trelik_Web",
                                    ".trelik_Gone", "trelik_Gone"}));
  EXPECT_EQ(removal.foreign, (Lines{".trelik_notes", "trelik_notes", "TRELIK_Odd"}));
  EXPECT_TRUE(removal.leftBehind.empty());
  EXPECT_EQ(Layout(registry_.Root()).size(), 11u);  // .txt, .trelikx and the foreign trees
  EXPECT_EQ(notifications_, 1);
  EXPECT_EQ(registry_.OpenKeyCount(), 0u);

  const FileTypeRemoval again = UnregisterAllFileTypes(Context(), {"Web"}, kWindowsExecutable);
  EXPECT_TRUE(again.removed.empty());
  EXPECT_TRUE(again.leftBehind.empty());
  EXPECT_EQ(notifications_, 1);
}

// Trelik's types run this program or one named like Trelik; their extensions go with them.
TEST_F(FileTypeRegistrationTest, UnregisterAllKnowsTrelikByTheProgramItsCommandRuns) {
  const std::tuple<std::string, const ExecutableNaming*, bool> cases[] = {
      {"\"C:\\Tools\\renamed.exe\" \"%1\"", &kWindowsExecutable, true},
      {"D:\\Other\\TRELIK.EXE %1", &kWindowsExecutable, true},
      {"\"C:\\trelik\\notes.exe\" \"%1\"", &kWindowsExecutable, false},
      {"\"/opt/x/trelik\" \"%1\"", &kPosixExecutable, true},
      {"/opt/x/Trelik %f", &kPosixExecutable, false},
      {"\"/usr/bin/trelik.exe\" \"%1\"", &kPosixExecutable, false},
  };
  for (const auto& [command, naming, trelik] : cases) {
    SCOPED_TRACE(command);
    MemoryRegistry registry;
    const RegistrationContext context{registry, "C:\\Tools\\renamed.exe", [] {}};
    RegisterFileType(context, ".trelik_T", "trelik_T", false);
    const OpenedKey key(registry,
                        registry.OpenKey(RegistryKey::kRoot, "trelik_T\\Shell\\Open\\Command"));
    ASSERT_TRUE(registry.SetString(key.Get(), "", command));
    const FileTypeRemoval removal = UnregisterAllFileTypes(context, {}, *naming);
    EXPECT_EQ(trelik ? removal.removed : removal.foreign, (Lines{".trelik_T", "trelik_T"}));
  }
}

TEST_F(FileTypeRegistrationTest, UnregisterAllNamesWhatARefusingRegistryKept) {
  RegisterFileType(Context(), ".trelik", "Trelik", false);
  const Lines registered = Layout(registry_.Root());
  registry_.RefuseAllChanges();
  notifications_ = 0;
  const FileTypeRemoval removal = UnregisterAllFileTypes(Context(), {}, kWindowsExecutable);
  EXPECT_TRUE(removal.removed.empty());
  EXPECT_EQ(removal.leftBehind, (Lines{".trelik", "Trelik"}));
  EXPECT_EQ(Layout(registry_.Root()), registered);
  EXPECT_EQ(notifications_, 0);
}

}  // namespace
}  // namespace trelik
