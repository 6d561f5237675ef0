#include "app/unregister_all.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "common/error.h"
#include "shell/memory_registry.h"
#include "support/fake_shell.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

constexpr const char* kExe = "C:\\Trelik\\trelik.exe";

// An in-memory registry whose commits fail, once told to, as a full disk makes the file-type
// store's fail.
class FailingCommitRegistry : public MemoryRegistry {
 public:
  bool failCommits = false;

 protected:
  std::optional<std::string> Save(const RegistryNode& /*root*/) override {
    return failCommits ? std::optional<std::string>("Disk full") : std::nullopt;
  }
};

enum class List { kMissing, kWeb, kUnreadable };
enum class Store { kWorks, kUnreadable, kCommitFails };

struct RemovalCase {
  const char* name;
  List list;
  Store store;
  bool trelikTypes;  // ".trelik" and "Web" registered for this program
  bool foreignType;  // "notes" registered for another program
  std::string standardOutput;
  std::string standardError;
  int exitCode;
  int notifications;
  std::string noticeStart;  // the notice for a start from the menu: its first line
};

constexpr const char* kRemovedAll =
    "Removed file type entry .trelik\nRemoved file type entry Trelik\n"
    "Removed file type entry .trelik_Web\nRemoved file type entry trelik_Web\n";

TEST(UnregisterAll, RemovesWhatItCanAndReportsTheRestWithItsExitCode) {
  const RemovalCase cases[] = {
      {"nothing registered", List::kMissing, Store::kWorks, false, false,
       "Nothing of Trelik's was registered.\n", "", 0, 0,
       "Nothing of Trelik's was registered on this desktop.\nTrelik can now be uninstalled"},
      {"listed and base types", List::kWeb, Store::kWorks, true, false, kRemovedAll, "", 0, 1,
       "Trelik's file types and New-menu entries were removed from this desktop (4 items).\n"
       "Trelik can now be uninstalled"},
      // Types no longer listed are found in the registry itself.
      {"unlisted types", List::kMissing, Store::kWorks, true, false, kRemovedAll, "", 0, 1, ""},
      {"only another program's", List::kWeb, Store::kWorks, false, true,
       "File type entry .trelik_notes: not Trelik's, left alone\n"
       "File type entry trelik_notes: not Trelik's, left alone\n",
       "", 0, 0,
       "Nothing of Trelik's was registered on this desktop.\nTrelik can now be uninstalled; your "
       "templates and settings stay in C:\\Trelik\\.\nFile type entry .trelik_notes: not "
       "Trelik's, left alone.\n"},
      // An unreadable list loses only its names.
      {"unreadable list", List::kUnreadable, Store::kWorks, true, true,
       std::string(kRemovedAll) + "File type entry .trelik_notes: not Trelik's, left alone\n"
                                  "File type entry trelik_notes: not Trelik's, left alone\n",
       "trelik: The template list was not read: ", 1, 1, ""},
      {"unreadable store", List::kWeb, Store::kUnreadable, true, false, "",
       "trelik: The file types could not be read: damaged\n", 1, 0,
       "Trelik could not be removed from this desktop.\nMend the cause and remove it again; your "
       "templates and settings stay in C:\\Trelik\\.\nThe file types could not be read: "
       "damaged."},
      {"store not saved", List::kWeb, Store::kCommitFails, true, false, "",
       "trelik: The file type entry .trelik could not be removed: Disk full\n"
       "trelik: The file type entry Trelik could not be removed: Disk full\n"
       "trelik: The file type entry .trelik_Web could not be removed: Disk full\n"
       "trelik: The file type entry trelik_Web could not be removed: Disk full\n",
       1, 0, ""},
  };
  for (const RemovalCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    const std::string listPath = folder / "projects.lib";
    if (c.list == List::kWeb) testing::WriteFileBytes(listPath, "Web\r\n");
    if (c.list == List::kUnreadable) std::filesystem::create_directory(listPath);

    const auto registry = std::make_shared<FailingCommitRegistry>();
    const RegistrationContext trelik{*registry, kExe, [] {}};
    if (c.trelikTypes) {
      RegisterFileType(trelik, ".trelik", "Trelik", false);
      RegisterFileType(trelik, ".trelik_Web", "trelik_Web", true);
    }
    if (c.foreignType) {
      RegisterFileType({*registry, "C:\\Notes\\notes.exe", [] {}}, ".trelik_notes", "trelik_notes",
                       true);
    }
    registry->failCommits = c.store == Store::kCommitFails;
    testing::FakeShell shell;
    const auto open = [&]() -> std::shared_ptr<Registry> {
      if (c.store == Store::kUnreadable) throw Error("damaged");
      return registry;
    };

    const RemovalReport report = UnregisterAll(open, shell, listPath, kExe, kWindowsExecutable);
    const TextReply reply = FormatRemovalReport(report);
    EXPECT_TRUE(RemovalNotice(report, "C:\\Trelik\\").starts_with(c.noticeStart))
        << RemovalNotice(report, "C:\\Trelik\\");
    EXPECT_EQ(reply.standardOutput, c.standardOutput);
    // The list's reason is the system's own text.
    if (c.list == List::kUnreadable) {
      EXPECT_TRUE(reply.standardError.starts_with(c.standardError)) << reply.standardError;
    } else {
      EXPECT_EQ(reply.standardError, c.standardError);
    }
    EXPECT_EQ(reply.exitCode, c.exitCode);
    EXPECT_EQ(shell.notifications, c.notifications);
    EXPECT_EQ(registry->OpenKeyCount(), 0u);
  }
}

}  // namespace
}  // namespace trelik
