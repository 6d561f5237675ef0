#include "shell/posix/registry_store.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/error.h"
#include "shell/file_type_registration.h"
#include "shell/registry_test_support.h"

namespace trelik {
namespace {

using testing::Layout;
using testing::ReadFileBytes;
using testing::RegistryBackend;
using testing::RegistryConformance;
using testing::TempFolder;
using testing::WriteFileBytes;

INSTANTIATE_TEST_SUITE_P(Store, RegistryConformance,
                         ::testing::Values(RegistryBackend{"Store",
                                                           [](const std::string& folder) {
                                                             return std::make_unique<RegistryStore>(
                                                                 folder + "registry.reg");
                                                           }}),
                         testing::BackendName);

constexpr const char* kExe = "/opt/trelik/bin/trelik";

TEST(RegistryStore, RegistrationsAreWrittenToTheFileAndReadBack) {
  TempFolder folder;
  const std::string path = folder / "share/trelik/registry.reg";
  {
    RegistryStore store(path);
    const RegistrationContext context{store, kExe, [] {}};
    RegisterFileType(context, ".trelik", "Trelik", false);
    RegisterFileType(context, ".trelik_My Site", "trelik_My Site", true);
  }
  const std::string root = "[HKEY_CURRENT_USER\\Software\\Classes\\";
  EXPECT_EQ(ReadFileBytes(path),
            "REGEDIT4\r\n\r\n" + root + ".trelik]\r\n@=\"Trelik\"\r\n\r\n" + root +
                "Trelik]\r\n@=\"Trelik\"\r\n\r\n" + root +
                "Trelik\\DefaultIcon]\r\n@=\"/opt/trelik/bin/trelik,0\"\r\n\r\n" + root +
                "Trelik\\Shell]\r\n\r\n" + root + "Trelik\\Shell\\Open]\r\n@=\"&Open\"\r\n\r\n" +
                root +
                "Trelik\\Shell\\Open\\Command]\r\n@=\"\\\"/opt/trelik/bin/trelik\\\" "
                "\\\"%1\\\"\"\r\n\r\n" +
                root + ".trelik_My Site]\r\n@=\"trelik_My Site\"\r\n\r\n" + root +
                ".trelik_My Site\\ShellNew]\r\n\"NullFile\"=\"\"\r\n\r\n" + root +
                "trelik_My Site]\r\n@=\"trelik_My Site\"\r\n\r\n" + root +
                "trelik_My Site\\DefaultIcon]\r\n@=\"/opt/trelik/bin/trelik,0\"\r\n\r\n" + root +
                "trelik_My Site\\Shell]\r\n\r\n" + root +
                "trelik_My Site\\Shell\\Open]\r\n@=\"&Open\"\r\n\r\n" + root +
                "trelik_My Site\\Shell\\Open\\Command]\r\n"
                "@=\"\\\"/opt/trelik/bin/trelik\\\" \\\"%1\\\"\"\r\n\r\n");

  RegistryStore reopened(path);
  const RegistrationContext context{reopened, kExe, [] {}};
  UnregisterFileType(context, "My Site", "My Site");
  EXPECT_EQ(Layout(ReadRegistryStore(path)).size(), 6u);  // the base type's six lines
}

TEST(RegistryStore, ChangesReachTheFileWhenCommitted) {
  TempFolder folder;
  const std::string path = folder / "registry.reg";
  {
    RegistryStore store(path);
    const OpenedKey key(store, store.CreateKey("a\\b"));
    ASSERT_TRUE(store.SetString(key.Get(), "Name", "C:\\x \"y\""));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(store.Commit());
    EXPECT_EQ(Layout(ReadRegistryStore(path)),
              (std::vector<std::string>{"a", "a\\b Name=C:\\x \"y\""}));
    ASSERT_TRUE(store.DeleteKey(RegistryKey::kRoot, "A\\B"));
  }
  // Dropped with the store, never committed.
  EXPECT_EQ(Layout(ReadRegistryStore(path)),
            (std::vector<std::string>{"a", "a\\b Name=C:\\x \"y\""}));
}

// Counts the times a file in `folder` was replaced by renaming another onto it, as an atomic save
// does; the kernel queues the events before the rename returns. The renames' other halves are
// watched too, since the kernel merges identical events that follow each other.
class ReplacementCounter {
 public:
  explicit ReplacementCounter(const std::string& folder)
      : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_FROM | IN_MOVED_TO), 0);
  }
  ~ReplacementCounter() { ::close(fd_); }
  ReplacementCounter(const ReplacementCounter&) = delete;
  ReplacementCounter& operator=(const ReplacementCounter&) = delete;

  // The replacements of `name` since the last call.
  int Take(const std::string& name) {
    int count = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if ((event->mask & IN_MOVED_TO) != 0 && event->len > 0 && name == event->name) ++count;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return count;
  }

 private:
  int fd_;
};

// Each step runs in a store of its own, as each start of the program and each edit does.
TEST(RegistryStore, ARegistrationWritesTheFileOnceAndNotAtAllWhenNothingChanged) {
  TempFolder folder;
  const std::string path = folder / "registry.reg";
  struct Step {
    const char* what;
    const char* exe;
    bool registers;    // else removes
    int replacements;  // also the shell notifications
  };
  const Step steps[] = {
      {"first registration", kExe, true, 1},
      {"the same again", kExe, true, 0},
      {"the program moved", "/usr/bin/trelik", true, 1},
      {"removal", kExe, false, 1},
      {"removal again", kExe, false, 0},
  };
  ReplacementCounter counter(folder.Path());
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    int notifications = 0;
    {
      RegistryStore store(path);
      const RegistrationContext context{store, step.exe, [&] { ++notifications; }};
      if (step.registers) {
        RegisterFileType(context, ".trelik_Web", "trelik_Web", true);
      } else {
        UnregisterFileType(context, "Web", "Web");
      }
    }
    EXPECT_EQ(counter.Take("registry.reg"), step.replacements);
    EXPECT_EQ(notifications, step.replacements);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    if (existed && step.replacements == 0) {
      EXPECT_EQ(after.st_ino, before.st_ino);
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
      EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    }
  }
}

TEST(RegistryStore, KeysDifferingOnlyInCaseAreOneKeyInTheFile) {
  TempFolder folder;
  const std::string path = folder / "registry.reg";
  {
    RegistryStore store(path);
    store.CloseKey(store.CreateKey(".trelik_Web"));
    const OpenedKey key(store, store.CreateKey(".TRELIK_WEB\\ShellNew"));
    ASSERT_TRUE(store.SetString(key.Get(), "NullFile", ""));
    ASSERT_TRUE(store.Commit());
  }
  EXPECT_EQ(Layout(ReadRegistryStore(path)),
            (std::vector<std::string>{".trelik_Web", ".trelik_Web\\ShellNew NullFile="}));
}

TEST(RegistryStore, ADamagedFileIsReportedAndLeftAsItIs) {
  TempFolder folder;
  const std::string path = folder / "registry.reg";
  const std::string damaged[] = {
      "",
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.trelik]\r\n@=Trelik\r\n",
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.trelik]\r\n@=\"Tre",
      "<?xml version=\"1.0\"?>\n",
  };
  for (const auto& text : damaged) {
    WriteFileBytes(path, text);
    try {
      RegistryStore store(path);
      FAIL() << "accepted: " << text;
    } catch (const Error& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find("The file-type store \"" + path + "\" is damaged (line "),
                std::string::npos)
          << message;
    }
    EXPECT_EQ(ReadFileBytes(path), text);
  }
}

TEST(RegistryStore, AnUnreadableFileIsReported) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "registry.reg");
  try {
    RegistryStore store(folder / "registry.reg");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(
        std::string(error.what())
            .rfind("Cannot read the file-type store \"" + folder / "registry.reg" + "\". ", 0),
        0u)
        << error.what();
  }
}

// A value the file cannot hold is refused as it is set; a commit that cannot write undoes the
// changes since the last commit, so the store in memory stays what the file holds.
TEST(RegistryStore, AFailedSaveFailsTheCommit) {
  TempFolder folder;
  const std::string path = folder / "data/registry.reg";
  RegistryStore store(path);
  const OpenedKey key(store, store.CreateKey("k"));
  ASSERT_TRUE(store.SetString(key.Get(), "", "old"));
  ASSERT_TRUE(store.Commit());

  EXPECT_FALSE(store.SetString(key.Get(), "", "line\nbreak"));
  EXPECT_EQ(store.ReadString(key.Get(), ""), "old");
  EXPECT_EQ(store.LastFailure(),
            "Cannot write " + path + ": a line break or a NUL in a name or value cannot be kept");

  std::filesystem::rename(folder / "data", folder / "moved");
  WriteFileBytes(folder / "data", "a file where the folder was");
  const std::string notAFolder = "Cannot write " + path + ": Not a directory";
  ASSERT_TRUE(store.SetString(key.Get(), "", "new"));
  store.CloseKey(store.CreateKey("other"));
  EXPECT_FALSE(store.Commit());
  EXPECT_EQ(store.LastFailure(), notAFolder);
  EXPECT_EQ(Layout(store.Root()), (std::vector<std::string>{"k @=old"}));
  try {
    RegisterFileType({store, kExe, [] {}}, ".trelik", "Trelik", false);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.what(), "Failed to set data for ''\n" + notAFolder);
  }
  EXPECT_EQ(Layout(store.Root()), (std::vector<std::string>{"k @=old"}));
}

// A folder that the user may not write: root may write anywhere, so the registration runs as
// another user in a child process, which reports on its exit code and stderr.
TEST(RegistryStore, ARefusedRegistrationNamesTheFileAndTheSystemsReason) {
  TempFolder folder;
  std::filesystem::permissions(folder.Path(), std::filesystem::perms(0555));
  const std::string path = folder / "filetypes.reg";
  const std::string expected =
      "Failed to set data for ''\nCannot write " + path + ": Permission denied";
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(4242) != 0 || ::setuid(4242) != 0)) {
          std::_Exit(2);
        }
        try {
          RegistryStore store(path);
          RegisterFileType({store, kExe, [] {}}, ".trelik", "Trelik", false);
        } catch (const Error& error) {
          std::fputs(error.what(), stderr);
          std::_Exit(error.what() == expected ? 0 : 1);
        }
        std::_Exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

// Registers `count` types of its own, each through a store opened for it alone, as separate
// runs of the program do.
bool RegisterTypes(const std::string& path, const std::string& prefix, int count) {
  try {
    for (int i = 0; i < count; ++i) {
      RegistryStore store(path);
      const std::string name = prefix + std::to_string(i);
      RegisterFileType({store, kExe, [] {}}, ".trelik_" + name, "trelik_" + name, true);
    }
    return true;
  } catch (const Error&) {
    return false;
  }
}

// A scratch folder on tmpfs where there is one: a save's flush to disk costs nothing there, so
// hundreds of registrations take well under a second even while other tests keep the disk busy.
std::unique_ptr<TempFolder> FolderInMemory() {
  const char* previous = std::getenv("TMPDIR");
  const std::string saved = previous != nullptr ? previous : "";
  if (std::filesystem::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
  auto folder = std::make_unique<TempFolder>();
  if (previous != nullptr) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  return folder;
}

TEST(RegistryStore, RegistrationsOfTwoProcessesAtOnceAreAllKeptWhole) {
  const auto folder = FolderInMemory();
  const std::string path = *folder / "registry.reg";
  constexpr int kCount = 100;
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) ::_exit(RegisterTypes(path, "child", kCount) ? 0 : 1);
  EXPECT_TRUE(RegisterTypes(path, "parent", kCount));
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  const RegistryNode root = ReadRegistryStore(path);
  const auto hasDefaultValue = [&root](const std::string& keyPath) {
    const RegistryNode* node = &root;
    for (const auto& name : SplitKeyPath(keyPath)) {
      if (node != nullptr) node = node->FindSubkey(name);
    }
    return node != nullptr && node->FindValue("") != nullptr;
  };
  for (const char* prefix : {"child", "parent"}) {
    for (int i = 0; i < kCount; ++i) {
      const std::string type = "trelik_" + (prefix + std::to_string(i));
      EXPECT_TRUE(hasDefaultValue("." + type) && hasDefaultValue(type + "\\DefaultIcon") &&
                  hasDefaultValue(type + "\\Shell\\Open\\Command"))
          << type << " is not whole";
    }
  }
}

}  // namespace
}  // namespace trelik
