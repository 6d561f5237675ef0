#include "templates/template_library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/error.h"
#include "shell/file_type_registration.h"
#include "support/fake_shell.h"
#include "support/refusing_registry.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::WriteFileBytes;

// A library in "data/" with no template, a fake shell over real files, an in-memory registry.
class TemplateLibraryTest : public ::testing::Test {
 protected:
  static std::string Sep() { return std::string(1, PlatformSeparators().joiner); }

  std::string Pickable(const std::string& name) {
    const std::string folder = root_ / "picks" + Sep() + name;
    fs::create_directories(folder);
    WriteFileBytes(folder + Sep() + "index.htm", "<html>");
    return folder;
  }

  std::string Store(const std::string& name) { return dataFolder_ + "projects" + Sep() + name; }

  bool Registered(const std::string& key) {
    return static_cast<bool>(OpenedKey(registry_, registry_.OpenKey(RegistryKey::kRoot, key)));
  }

  testing::TempFolder root_;
  std::string dataFolder_ = root_ / "data" + Sep();
  testing::FakeShell shell_;
  testing::RefusingRegistry registry_;
  int registryOpenings_ = 0;
  TIniFile settings_{dataFolder_ + "trelik.ini"};
  TemplateLibrary library_{dataFolder_, settings_, shell_,
                           [this] {
                             ++registryOpenings_;
                             return std::shared_ptr<Registry>(&registry_, [](Registry*) {});
                           },
                           root_ / "bin" + Sep() + "trelik"};
};

TEST_F(TemplateLibraryTest, WhatCannotBecomeATemplateIsRefused) {
  const std::string home = root_ / "home";
  const std::string desktop = home + Sep() + "Desktop";
  fs::create_directories(desktop);
  fs::create_directories(Store(""));
  WriteFileBytes(Store("Old"), "");        // a file: a folder there is offered for use instead
  std::string otherName = root_ / "HOME";  // the same folder on Windows; a link to it on Linux
  if (Sep() == "/") fs::create_directory_symlink(home, otherName = root_ / "link");
  std::vector<std::pair<std::string, std::string>> cases = {
      {home, "cannot be added as a template: it is your home folder"},
      {otherName, "cannot be added as a template: it is your home folder"},
      {desktop + Sep(), "cannot be added as a template: it is your desktop folder"},
      {root_.Path(), "cannot be added as a template: it holds your home folder"},
      {dataFolder_, "cannot be added as a template: it holds the template store"},
      {Store(""), "cannot be added as a template: it is the template store"},
      {Sep() == "/" ? "/" : "C:\\", "it is the top of a drive or file system"},
      {Pickable("Listed"), "same project exists !"},
      {Pickable("Old"), "The template store already holds \"Old\".\nMove that folder away first"}};
  std::vector<std::string> names = {"v1.2", " lead", "a=b", ";x", "[x"};
  // Windows cannot even make such folders for the user to pick.
  if (Sep() == "/") names.insert(names.end(), {"trail ", "a*b", "a?b", "a[b]"});
  for (const auto& name : names)
    cases.emplace_back(Pickable(name), "cannot be added as a template");
  const auto listed = [](const std::string& name) { return name == "Listed"; };
  for (const auto& [folder, reason] : cases) {
    SCOPED_TRACE(folder);
    const auto refusal = library_.AddRefusal(folder, {home, desktop}, listed);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find(reason), std::string::npos) << *refusal;
    // What the user can do next, on a second line of its own.
    EXPECT_NE(refusal->find('\n'), std::string::npos) << *refusal;
  }
  EXPECT_FALSE(library_.AddRefusal(Pickable("Site"), {home, desktop}, listed));
}

TEST_F(TemplateLibraryTest, AnAdditionThatFailsLeavesNothing) {
  const std::string folder = Pickable("Site");
  shell_.copyFailure = "Permission denied";
  auto added = library_.Add(nullptr, folder);
  EXPECT_FALSE(added.name);
  EXPECT_EQ(added.failure, "\"" + folder +
                               "\" could not be copied into the template store.\nCheck that the "
                               "folder can be read and that the disk has room, then try "
                               "again.\nPermission denied");
  shell_.copyFailure.clear();
  shell_.cancelCopies = true;
  added = library_.Add(nullptr, folder);
  EXPECT_FALSE(added.name);
  EXPECT_EQ(added.failure, "");  // the user stopped it: nothing to say
  shell_.cancelCopies = false;
  registry_.RefuseWritesTo("trelik_Site\\Shell\\Open\\Command");
  try {
    library_.Add(nullptr, folder);
    ADD_FAILURE() << "added";
  } catch (const Error& error) {
    const std::string text = error.what();
    EXPECT_EQ(text.rfind("Failed to set data for ''", 0), 0u);
    EXPECT_TRUE(text.ends_with("\n\"Site\" was not added"));
  }
  // The refused registration took the copy and the file type back.
  EXPECT_FALSE(fs::exists(Store("Site")));
  EXPECT_FALSE(Registered(".trelik_Site"));
  EXPECT_FALSE(Registered("trelik_Site"));
}

TEST_F(TemplateLibraryTest, WhatIsRecordedGoesWithTheTemplateButItsFolderStays) {
  ASSERT_EQ(library_.Add(nullptr, Pickable("Site")).name, "Site");
  ASSERT_EQ(library_.Add(nullptr, Pickable("Other")).name, "Other");
  EXPECT_EQ(shell_.notifications, 2);  // the shell is told of each new type
  // A main file that is no plain name inside the template is refused, and nothing is written.
  const auto refusal = library_.Record("Site", {"two\nlines.htm", true, true});
  EXPECT_NE(refusal.value_or("").find("cannot be the main file"), std::string::npos);
  EXPECT_EQ(settings_.ReadText("autoopen", "Site", "none"), "none");
  ASSERT_FALSE(library_.Record("Site", {"index.htm", true, true}));
  ASSERT_FALSE(library_.Record("Other", {"keep.txt", true, false}));
  // What another copy of the program registered in the meantime is then seen and kept.
  const int openingsBefore = registryOpenings_;
  library_.Remove("Site");
  EXPECT_EQ(registryOpenings_, openingsBefore + 1);
  EXPECT_FALSE(Registered(".trelik_Site"));
  EXPECT_FALSE(Registered("trelik_Site"));
  EXPECT_TRUE(Registered(".trelik_Other\\ShellNew"));
  for (const char* section : {"mainfile", "autoopen", "fill"}) {
    EXPECT_EQ(settings_.ReadText(section, "Site", "gone"), "gone") << section;
  }
  EXPECT_EQ(library_.RecordedFor("Other").mainFile, "keep.txt");
  EXPECT_TRUE(fs::exists(Store("Site") + Sep() + "index.htm"));
}

// A script's addition: under a name of its own, with its main file recorded, listed at once; a
// main file that is not there takes the whole addition back. Removing unlists it.
TEST_F(TemplateLibraryTest, AnAdditionUnderAnotherNameIsRecordedAndListed) {
  const TemplateLibrary::Recorded recorded{"index.htm", true, true};
  EXPECT_EQ(library_.Add(nullptr, Pickable("Site"), "Web", {"gone.htm", true, false}).failure,
            "\"gone.htm\" is not a file of the template \"Web\".\nChoose one of the template's "
            "own files.");
  EXPECT_FALSE(fs::exists(Store("Web")));
  ASSERT_EQ(library_.Add(nullptr, Pickable("Site"), "Web", recorded).name, "Web");
  EXPECT_EQ(library_.RecordedFor("Web"), recorded);
  EXPECT_TRUE(Registered(".trelik_Web\\ShellNew"));
  ASSERT_EQ(library_.Add(nullptr, Pickable("Blog")).name, "Blog");
  EXPECT_EQ(library_.ReadList(), (std::vector<std::string>{"Web", "Blog"}));
  library_.Remove("Web", true);
  EXPECT_EQ(library_.ReadList(), std::vector<std::string>{"Blog"});
  EXPECT_FALSE(fs::exists(Store("Web")));
  EXPECT_EQ(library_.RecordedFor("Web"), TemplateLibrary::Recorded{});
}

// A removed template's folder stays in the store; adding a folder of that name again offers to
// make a template of it, and Yes registers it without a copy. A folder is never the main file.
TEST_F(TemplateLibraryTest, AFolderLeftInTheStoreIsOfferedAndBecomesATemplateWithoutACopy) {
  const std::string picked = Pickable("Site");
  EXPECT_FALSE(library_.StoredFolderQuestion(picked));
  ASSERT_EQ(library_.Add(nullptr, picked).name, "Site");
  fs::create_directories(Store("Site") + Sep() + "img");
  EXPECT_EQ(library_.RemoveQuestion("Site"),
            "Remove \"Site\" from the templates? Its folder stays in " + dataFolder_ + "projects.");
  library_.Remove("Site");
  WriteFileBytes(picked + Sep() + "new.htm", "");
  EXPECT_FALSE(library_.AddRefusal(picked, {}, [](const std::string&) { return false; }));
  EXPECT_EQ(library_.StoredFolderQuestion(picked),
            "\"" + Store("Site") +
                "\" is already in the template store.\nUse that folder as the "
                "template \"Site\" instead of copying \"" +
                picked + "\"?");
  EXPECT_EQ(library_.AddStored(picked).name, "Site");
  EXPECT_TRUE(Registered(".trelik_Site\\ShellNew"));
  EXPECT_FALSE(fs::exists(Store("Site") + Sep() + "new.htm"));  // nothing was copied
  registry_.RefuseWritesTo("trelik_Site\\Shell\\Open\\Command");
  library_.Remove("Site");
  EXPECT_THROW(library_.AddStored(picked), Error);
  EXPECT_FALSE(Registered(".trelik_Site"));
  EXPECT_TRUE(fs::exists(Store("Site") + Sep() + "index.htm"));  // the user's folder stays

  for (const std::string& folder : {std::string("img"), "img" + Sep()}) {
    EXPECT_EQ(
        library_.Record("Site", {folder, true, false}),
        "\"img\" is a folder: the main file must be a file.\nChoose one of the template's own "
        "files.");
  }
  EXPECT_EQ(settings_.ReadText("mainfile", "Site", "none"), "none");
  EXPECT_FALSE(library_.Record("Site", {"index.htm", true, false}));
}

// A library restored from a backup: the list and the store's folders, no file types. They are
// registered as one: one opening of the registry, one notification of the shell.
TEST_F(TemplateLibraryTest, ListedTemplatesWithTheirFolderAreRegistered) {
  std::vector<std::string> listed = {"Gone", "", "Blog", "Also gone"};
  for (const char* name : {"Blog", "Unlisted"}) fs::create_directories(Store(name));
  for (int i = 0; i < 50; ++i) {
    listed.push_back("Site " + std::to_string(i));
    fs::create_directories(Store(listed.back()));
  }
  // Blog is registered already, by a program that stood elsewhere: that stays as it is.
  RegisterFileType({registry_, "/old/trelik", [] {}}, ".trelik_Blog", "trelik_Blog", true);
  std::vector<std::string> notices;
  library_.RegisterListed(listed, [&](const std::string& notice) { notices.push_back(notice); });
  EXPECT_EQ(registryOpenings_, 1);
  EXPECT_EQ(shell_.notifications, 1);
  for (const auto& name : std::vector(listed.begin() + 4, listed.end())) {
    EXPECT_TRUE(Registered(".trelik_" + name + "\\ShellNew")) << name;
    EXPECT_TRUE(Registered("trelik_" + name + "\\Shell\\Open\\Command")) << name;
  }
  const OpenedKey blogIcon(registry_,
                           registry_.OpenKey(RegistryKey::kRoot, "trelik_Blog\\DefaultIcon"));
  EXPECT_EQ(registry_.ReadString(blogIcon.Get(), ""), "/old/trelik,0");
  for (const char* missing :
       {".trelik_Gone", ".trelik_Also gone", ".trelik_", ".trelik_Unlisted"}) {
    EXPECT_FALSE(Registered(missing)) << missing;
  }
  EXPECT_EQ(notices,
            std::vector<std::string>{
                "These listed templates have no folder in the template store \"" + Store("") +
                "\", so the New menu does not offer them:\nPut their folders back into the store, "
                "or delete them from the list.\nGone\nAlso gone"});
}

}  // namespace
}  // namespace trelik
