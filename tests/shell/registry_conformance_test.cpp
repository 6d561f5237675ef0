// The registry rules that file-type registration relies on, checked against every backend: the
// in-memory registry here, the platform's own registry in its platform test.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "shell/file_type_registration.h"
#include "shell/memory_registry.h"
#include "shell/registry_test_support.h"

namespace trelik::testing {
namespace {

std::string Under(const std::string& path) {
  std::string full = ScratchKey();
  return full.append("\\").append(path);
}

using Names = std::vector<std::string>;

Names Sorted(Names names) {
  std::ranges::sort(names);
  return names;
}

TEST_P(RegistryConformance, CreatingMakesMissingParentsAndKeepsWhatExists) {
  {
    const OpenedKey deep(*registry_, registry_->CreateKey(Under("a\\b\\c")));
    ASSERT_TRUE(deep);
    ASSERT_TRUE(registry_->SetString(deep.Get(), "", "kept"));
  }
  const OpenedKey middle(*registry_, registry_->OpenKey(RegistryKey::kRoot, Under("a\\b")));
  ASSERT_TRUE(middle);
  EXPECT_EQ(registry_->ReadString(middle.Get(), ""), std::nullopt);
  const OpenedKey again(*registry_, registry_->CreateKey(Under("a\\b\\c")));
  EXPECT_EQ(registry_->ReadString(again.Get(), ""), "kept");
}

TEST_P(RegistryConformance, NamesIgnoreCaseAndKeepTheFirstSpelling) {
  {
    const OpenedKey key(*registry_, registry_->CreateKey(Under("My Site")));
    ASSERT_TRUE(registry_->SetString(key.Get(), "Name", "one"));
  }
  const OpenedKey sameKey(*registry_, registry_->CreateKey(Under("MY SITE")));
  ASSERT_TRUE(registry_->SetString(sameKey.Get(), "NAME", "two"));
  EXPECT_EQ(registry_->ReadString(sameKey.Get(), "name"), "two");

  const OpenedKey scratch(*registry_, registry_->OpenKey(RegistryKey::kRoot, ScratchKey()));
  EXPECT_EQ(ListSubkeys(*registry_, scratch.Get()), Names{"My Site"});
  EXPECT_TRUE(OpenedKey(*registry_, registry_->OpenKey(scratch.Get(), "my site")));
}

TEST_P(RegistryConformance, StringsReadBackAsWrittenAndEmptyIsNotMissing) {
  const OpenedKey key(*registry_, registry_->CreateKey(Under("values")));
  const std::pair<std::string, std::string> values[] = {
      {"", "default"},
      {"NullFile", ""},
      {"Quoted", "\"C:\\Program Files\\trelik.exe\" \"%1\""},
      {"Blank name", "x y"}};
  for (const auto& [name, data] : values) ASSERT_TRUE(registry_->SetString(key.Get(), name, data));
  for (const auto& [name, data] : values) EXPECT_EQ(registry_->ReadString(key.Get(), name), data);
  EXPECT_EQ(registry_->ReadString(key.Get(), "Missing"), std::nullopt);
  ASSERT_TRUE(registry_->SetString(key.Get(), "", "replaced"));
  EXPECT_EQ(registry_->ReadString(key.Get(), ""), "replaced");
}

TEST_P(RegistryConformance, AKeyWithSubkeysCannotBeDeleted) {
  registry_->CloseKey(registry_->CreateKey(Under("parent\\child")));
  const OpenedKey scratch(*registry_, registry_->OpenKey(RegistryKey::kRoot, ScratchKey()));
  EXPECT_FALSE(registry_->DeleteKey(scratch.Get(), "parent"));
  EXPECT_TRUE(registry_->DeleteKey(scratch.Get(), "parent\\child"));
  EXPECT_TRUE(registry_->DeleteKey(scratch.Get(), "PARENT"));
  EXPECT_FALSE(OpenedKey(*registry_, registry_->OpenKey(scratch.Get(), "parent")));
  EXPECT_FALSE(registry_->DeleteKey(scratch.Get(), "parent"));
  EXPECT_FALSE(registry_->DeleteKey(scratch.Get(), ""));
}

TEST_P(RegistryConformance, SubkeysAreCountedAndEnumeratedWithinTheBuffer) {
  for (const char* name : {"x", "longer name", "ShellNew"}) {
    registry_->CloseKey(registry_->CreateKey(Under(name)));
  }
  const OpenedKey scratch(*registry_, registry_->OpenKey(RegistryKey::kRoot, ScratchKey()));
  const auto info = registry_->QuerySubkeys(scratch.Get());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->count, 3u);
  EXPECT_EQ(info->longestNameLength, 11u);

  Names names;
  for (std::size_t index = 0; index < 3; ++index) {
    auto name = registry_->EnumSubkey(scratch.Get(), index, info->longestNameLength + 1);
    ASSERT_TRUE(name) << index;
    // Without room for the terminating NUL the longest name cannot be read.
    EXPECT_EQ(registry_->EnumSubkey(scratch.Get(), index, name->size()), std::nullopt);
    names.push_back(*name);
  }
  EXPECT_EQ(Sorted(names), (Names{"ShellNew", "longer name", "x"}));
  EXPECT_EQ(registry_->EnumSubkey(scratch.Get(), 3, 100), std::nullopt);
}

TEST_P(RegistryConformance, MissingDeletedAndUnopenedKeysRefuseEverything) {
  EXPECT_FALSE(OpenedKey(*registry_, registry_->OpenKey(RegistryKey::kRoot, Under("missing"))));
  EXPECT_FALSE(registry_->SetString(RegistryKey::kNone, "", "x"));
  EXPECT_EQ(registry_->QuerySubkeys(RegistryKey::kNone), std::nullopt);
  EXPECT_FALSE(OpenedKey(*registry_, registry_->OpenKey(RegistryKey::kNone, "x")));

  const OpenedKey doomed(*registry_, registry_->CreateKey(Under("doomed")));
  ASSERT_TRUE(registry_->DeleteKey(RegistryKey::kRoot, Under("doomed")));
  EXPECT_FALSE(registry_->SetString(doomed.Get(), "", "x"));
}

// A registration at every start must not write what the registry already holds, and must say
// only when it changed something.
TEST_P(RegistryConformance, ARegistrationTellsTheShellOnlyOfWhatChanged) {
  int notifications = 0;
  const std::string extension = Under(".trelik_Web");
  const std::string type = Under("trelik_Web");
  const auto registerWith = [&](const std::string& exe) {
    RegisterFileType({*registry_, exe, [&] { ++notifications; }}, extension, type, true);
    return notifications;
  };
  EXPECT_EQ(registerWith("C:\\a\\trelik.exe"), 1);
  EXPECT_EQ(registerWith("C:\\a\\trelik.exe"), 1);
  EXPECT_EQ(registerWith("C:\\b\\trelik.exe"), 2);
  const OpenedKey command(*registry_,
                          registry_->OpenKey(RegistryKey::kRoot, type + "\\Shell\\Open\\Command"));
  EXPECT_EQ(registry_->ReadString(command.Get(), ""), "\"C:\\b\\trelik.exe\" \"%1\"");
}

// A failure's cause never outlives it: each kind of change that succeeds clears it.
TEST_P(RegistryConformance, AChangeThatSucceedsLeavesNoFailureBehind) {
  const OpenedKey doomed(*registry_, registry_->CreateKey(Under("doomed")));
  ASSERT_TRUE(registry_->DeleteKey(RegistryKey::kRoot, Under("doomed")));
  const OpenedKey kept(*registry_, registry_->CreateKey(Under("kept")));
  const std::function<bool()> changes[] = {
      [&] {
        return static_cast<bool>(OpenedKey(*registry_, registry_->CreateKey(Under("kept\\a"))));
      },
      [&] { return registry_->SetString(kept.Get(), "", "x"); },
      [&] { return registry_->DeleteKey(kept.Get(), "a"); },
      [&] { return registry_->Commit(); },
  };
  for (const auto& change : changes) {
    EXPECT_FALSE(registry_->SetString(doomed.Get(), "", "x"));
    ASSERT_TRUE(change());
    EXPECT_EQ(registry_->LastFailure(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Memory, RegistryConformance,
    ::testing::Values(RegistryBackend{
        "Memory", [](const std::string&) { return std::make_unique<MemoryRegistry>(); }}),
    BackendName);

}  // namespace
}  // namespace trelik::testing
