#include "shell/posix/desktop_types.h"

#include <gtest/gtest.h>

#include "shell/file_type_registration.h"
#include "shell/memory_registry.h"

namespace trelik {
namespace {

std::vector<DesktopType> TypesOf(const std::vector<std::string>& templateNames) {
  MemoryRegistry registry;
  const RegistrationContext context{registry, "/opt/trelik", [] {}};
  RegisterFileType(context, ".trelik", "Trelik", false);
  for (const auto& name : templateNames) {
    RegisterFileType(context, ".trelik_" + name, "trelik_" + name, true);
  }
  return ReadDesktopTypes(registry, "/opt/trelik").types;
}

TEST(DesktopTypes, BaseAndTemplatesWithTheirMimeTypes) {
  const auto types = TypesOf({"My Site"});
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].extension, ".trelik");
  EXPECT_EQ(types[0].templateName, "");
  EXPECT_EQ(types[0].description, "Trelik file");
  EXPECT_EQ(types[0].mimeType, "application/x-trelik");
  EXPECT_FALSE(types[0].inNewMenu);
  EXPECT_EQ(types[1].extension, ".trelik_My Site");
  EXPECT_EQ(types[1].templateName, "My Site");
  EXPECT_EQ(types[1].description, "My Site project (Trelik launcher)");
  EXPECT_EQ(types[1].mimeType, "application/x-trelik-my-site");
  EXPECT_TRUE(types[1].inNewMenu);
}

TEST(DesktopTypes, SlugsThatCoincideOrVanishAreToldApartByAHash) {
  const auto types = TypesOf({"My Site", "my_site", "C++ Tool", "Caf\xC3\xA9", "\xE6\x97\xA5"});
  std::vector<std::string> mimeTypes;
  for (const auto& type : types) mimeTypes.push_back(type.mimeType);
  ASSERT_EQ(mimeTypes.size(), 6u);
  EXPECT_EQ(mimeTypes[3], "application/x-trelik-c-tool");
  EXPECT_EQ(mimeTypes[4], "application/x-trelik-caf");
  for (const std::size_t hashed : {1, 2, 5}) {
    const std::string prefix =
        hashed == 5 ? "application/x-trelik-" : "application/x-trelik-my-site-";
    EXPECT_TRUE(mimeTypes[hashed].starts_with(prefix)) << mimeTypes[hashed];
    EXPECT_EQ(mimeTypes[hashed].size(), prefix.size() + 8) << mimeTypes[hashed];
  }
  EXPECT_NE(mimeTypes[1], mimeTypes[2]);
  EXPECT_EQ(TypesOf({"My Site", "my_site"})[1].mimeType, mimeTypes[1]);  // stable
}

TEST(DesktopTypes, OnlyUsableTrelikExtensionsCount) {
  MemoryRegistry registry;
  const RegistrationContext context{registry, "/opt/trelik", [] {}};
  for (const char* extension : {".txt", ".trelik_", ".trelik_a*", ".trelik_[x]", ".trelik_?",
                                ".trelikx", ".trelik_a/b", ".TRELIK_Upper", ".trelik_Fine"}) {
    RegisterFileType(context, extension, std::string("type") + extension, false);
  }
  // Named like ours, opened by another program.
  RegisterFileType({registry, "/usr/bin/gedit", [] {}}, ".trelik_notes", "trelik_notes", true);
  const auto read = ReadDesktopTypes(registry, "/usr/local/bin/trelik");
  ASSERT_EQ(read.types.size(), 1u);
  EXPECT_EQ(read.types[0].templateName, "Fine");
  EXPECT_FALSE(read.types[0].inNewMenu);
  EXPECT_EQ(read.leftOut, (std::vector<std::string>{"a*", "[x]", "?", "a/b"}));
}

}  // namespace
}  // namespace trelik
