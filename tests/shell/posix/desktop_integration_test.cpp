// The desktop integration against the real freedesktop tools, in a home folder of its own.
#include "shell/posix/desktop_integration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <tuple>

#include "shell/file_type_registration.h"
#include "shell/memory_registry.h"
#include "shell/posix/desktop_files.h"
#include "shell/posix/folder_actions.h"
#include "shell/posix/registry_store.h"
#include "support/temp_folder.h"

namespace trelik {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

constexpr const char* kExe = "/opt/trelik tools/trelik";

struct CommandResult {
  int exitCode = -1;
  std::string output;  // stdout and stderr, trailing line end cut
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, count);
  }
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  while (!result.output.empty() && result.output.back() == '\n') result.output.pop_back();
  return result;
}

// Points HOME and the XDG folders of this process, and so of the tools it runs, at a fresh
// home, and registers file types the way the program does: into the store, regenerating the
// desktop's files on each change.
class DesktopIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders_ = {root_ / "home", root_ / "home/.local/share", root_ / "home/.config"};
    fs::create_directories(folders_.configHome);
    SetVariable("HOME", folders_.home);
    SetVariable("XDG_DATA_HOME", folders_.dataHome);
    SetVariable("XDG_CONFIG_HOME", folders_.configHome);
    // xdg-mime then asks GIO, which reads the shared-mime-info database.
    SetVariable("XDG_CURRENT_DESKTOP", "GNOME");
    ASSERT_EQ(RunCommand("command -v gio").exitCode, 0)
        << "xdg-mime needs gio (Debian package libglib2.0-bin) to read the MIME database";
  }

  void TearDown() override {
    for (const auto& [name, value] : savedVariables_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  void SetVariable(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    savedVariables_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name.c_str(), value.c_str(), 1);
  }

  void Register(const std::string& name) {
    RegistryStore store(storePath_);
    if (name.empty()) {
      RegisterFileType(Context(store), ".trelik", "Trelik", false);
    } else {
      RegisterFileType(Context(store), ".trelik_" + name, "trelik_" + name, true);
    }
  }

  void Unregister(const std::string& name) {
    RegistryStore store(storePath_);
    UnregisterFileType(Context(store), name, name);
  }

  // What the program does at every start besides registering: it checks the desktop's files
  // against the store as it stands.
  void CheckAtStart() {
    const DesktopUpdate update = RegenerateFromStore(storePath_, folders_, exe_, iconSource_);
    EXPECT_EQ(update.failure, "");
    notices_.insert(notices_.end(), update.notices.begin(), update.notices.end());
  }

  // As --unregister-all does: the base type goes too.
  void UnregisterEverything() {
    RegistryStore store(storePath_);
    static_cast<void>(UnregisterAllFileTypes(Context(store), {}, kPosixExecutable));
  }

  void Regenerate(Registry& fileTypes) {
    const DesktopUpdate update =
        RegenerateDesktopIntegration(fileTypes, folders_, exe_, iconSource_);
    EXPECT_EQ(update.failure, "");
    notices_.insert(notices_.end(), update.notices.begin(), update.notices.end());
  }

  RegistrationContext Context(Registry& store) {
    return {store, exe_, [this, &store] { Regenerate(store); }};
  }

  std::string Home(const std::string& path) const { return folders_.home + "/" + path; }
  std::string Data(const std::string& path) const { return folders_.dataHome + "/" + path; }
  std::string Config(const std::string& path) const { return folders_.configHome + "/" + path; }

  std::string FileType(const std::string& path) {
    return RunCommand("xdg-mime query filetype " + Quoted(path)).output;
  }

  TempFolder root_;
  DesktopFolders folders_;
  std::string storePath_ = root_ / "home/.local/share/trelik/registry.reg";
  std::string iconSource_;
  std::string exe_ = kExe;
  std::map<std::string, std::optional<std::string>> savedVariables_;
  std::vector<std::string> notices_;
};

TEST_F(DesktopIntegrationTest, TypesReachTheDesktopAndLeaveItAgain) {
  const std::string userDirs = "# the user's\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
  const std::string mimeapps = "[Default Applications]\ntext/plain=gedit.desktop\n";
  WriteFileBytes(Config("user-dirs.dirs"), userDirs);
  WriteFileBytes(Config("mimeapps.list"), mimeapps);
  const std::map<std::string, std::string> userFiles = {
      {Home("Templates/Letter.odt"), "letter"},
      {Data("templates/mine.desktop"), "[Desktop Entry]\n"},
      {Data("applications/other.desktop"), "[Desktop Entry]\n"},
      {Data("mime/packages/other.xml"), "<mime-info/>\n"},
      {Config("Thunar/uca.xml"), "<actions>\n<action><name>Mine</name></action>\n</actions>\n"},
  };
  for (const auto& [path, contents] : userFiles) {
    fs::create_directories(fs::path(path).parent_path());
    WriteFileBytes(path, contents);
  }

  Register("");
  Register("My Site");

  EXPECT_EQ(RunCommand("xdg-user-dir TEMPLATES").output, Home("Templates"));
  const std::string launcher = Home("Templates/My Site.trelik_My Site");
  EXPECT_EQ(fs::file_size(launcher), 1u);
  const std::string dolphinLink = Data("templates/trelik-my-site.desktop");
  EXPECT_EQ(fs::file_size(Data("templates/.source/My Site.trelik_My Site")), 1u);
  EXPECT_NE(ReadFileBytes(Config("Thunar/uca.xml")).find("<name>Make a Trelik template</name>"),
            std::string::npos);

  // What the New menu creates is a copy of the template.
  fs::create_directories(root_ / "work");
  fs::copy_file(launcher, root_ / "work/New.trelik_My Site");
  WriteFileBytes(root_ / "work/x.trelik", "\n");
  EXPECT_EQ(FileType(root_ / "work/New.trelik_My Site"), "application/x-trelik-my-site");
  EXPECT_EQ(FileType(root_ / "work/x.trelik"), "application/x-trelik");
  EXPECT_EQ(RunCommand("xdg-mime query default application/x-trelik-my-site").output,
            "trelik-filetypes.desktop");
  EXPECT_EQ(RunCommand("xdg-mime query default application/x-trelik").output,
            "trelik-filetypes.desktop");
  for (const auto& entry : {Data("applications/trelik-filetypes.desktop"), dolphinLink}) {
    const CommandResult validation = RunCommand("desktop-file-validate " + Quoted(entry));
    EXPECT_EQ(validation.exitCode, 0) << entry << "\n" << validation.output;
    EXPECT_EQ(validation.output, "") << entry;
  }

  Unregister("My Site");

  EXPECT_FALSE(fs::exists(launcher));
  EXPECT_FALSE(fs::exists(dolphinLink));
  EXPECT_FALSE(fs::exists(Data("templates/.source")));
  EXPECT_NE(FileType(root_ / "work/New.trelik_My Site"), "application/x-trelik-my-site");
  EXPECT_EQ(FileType(root_ / "work/x.trelik"), "application/x-trelik");
  EXPECT_EQ(ReadFileBytes(Config("mimeapps.list")),
            mimeapps + "application/x-trelik=trelik-filetypes.desktop\n");

  // With the base type gone too, nothing of ours is left.
  UnregisterEverything();
  EXPECT_NE(FileType(root_ / "work/x.trelik"), "application/x-trelik");
  EXPECT_FALSE(fs::exists(Data("mime/packages/trelik.xml")));
  EXPECT_FALSE(fs::exists(Data("applications/trelik-filetypes.desktop")));
  EXPECT_EQ(ReadFileBytes(Config("mimeapps.list")), mimeapps);
  EXPECT_EQ(ReadFileBytes(Data("trelik/generated.list")), "");
  EXPECT_EQ(ReadFileBytes(Config("user-dirs.dirs")), userDirs);
  for (const auto& [path, contents] : userFiles) EXPECT_EQ(ReadFileBytes(path), contents) << path;
}

// The user's lines stay whatever happens. A templates folder the user turned off stays off,
// with one notice on how to turn it on (Dolphin's entries, which do not live there, stay); an
// unset one is set while Trelik has types, and the setting is taken back with them.
TEST_F(DesktopIntegrationTest, TheTemplatesFolderSettingIsRespectedOrSetAndTakenBack) {
  const std::string mine = "# mine\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  const std::string set = "XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n";
  const std::pair<std::string, std::string> cases[] = {
      // before ("": no file), while registered
      {"", set},
      {mine, mine + set},
      {"XDG_TEMPLATES_DIR=relative\n" + mine, set + mine},
      {mine + "XDG_TEMPLATES_DIR=\"$HOME/\"\n# off\n", ""},
      {"XDG_TEMPLATES_DIR=\"$HOME\"\n", ""}};
  for (const auto& [before, during] : cases) {
    SCOPED_TRACE(before);
    const std::string userDirs = Config("user-dirs.dirs");
    if (!before.empty()) WriteFileBytes(userDirs, before);
    notices_.clear();
    Register("");
    Register("Web");
    CheckAtStart();
    EXPECT_EQ(ReadFileBytes(userDirs), during.empty() ? before : during);
    EXPECT_EQ(fs::exists(Home("Templates/Web.trelik_Web")), !during.empty());
    EXPECT_TRUE(fs::exists(Data("templates/trelik-web.desktop")));
    EXPECT_EQ(notices_.size(), during.empty() ? 1u : 0u);
    for (const auto& notice : notices_) {
      EXPECT_NE(notice.find("xdg-user-dirs-update --set TEMPLATES ~/Templates"), std::string::npos);
    }
    UnregisterEverything();
    EXPECT_EQ(fs::exists(userDirs) ? ReadFileBytes(userDirs) : "", before);
    EXPECT_EQ(fs::exists(userDirs), !before.empty());
    EXPECT_FALSE(fs::exists(Home("Templates")));
  }
}

TEST_F(DesktopIntegrationTest, TheDesktopCachesAreRebuiltOnlyWhenSomethingChanged) {
  Register("");
  const auto cacheTimes = [this] {
    return std::pair{fs::last_write_time(Data("mime/mime.cache")),
                     fs::last_write_time(Data("applications/mimeinfo.cache"))};
  };
  const auto first = cacheTimes();
  // The base type is registered at every start: again, nothing changes.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  Register("");
  EXPECT_EQ(cacheTimes(), first);

  Register("Web");
  const auto second = cacheTimes();
  EXPECT_NE(second.first, first.first);
  EXPECT_NE(second.second, first.second);
  EXPECT_EQ(FileType(Home("Templates/Web.trelik_Web")), "application/x-trelik-web");

  fs::remove(Data("mime/mime.cache"));  // a cache lost meanwhile is rebuilt all the same
  CheckAtStart();
  EXPECT_TRUE(fs::exists(Data("mime/mime.cache")));
}

// The registration at start tells the desktop nothing when the store did not change; the check
// at start brings back what the user deleted and rewrites nothing else.
TEST_F(DesktopIntegrationTest, TheCheckAtStartRestoresADeletedFileAndWritesNothingElse) {
  Register("");
  Register("Web");
  const std::string launcher = Home("Templates/Web.trelik_Web");
  const std::string entry = Data("applications/trelik-filetypes.desktop");
  // A file written anew, atomically, has a new inode.
  const auto identity = [](const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return std::tuple{info.st_ino, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
  };
  const auto entryBefore = identity(entry);
  const auto storeBefore = identity(storePath_);
  fs::remove(launcher);

  Register("Web");
  EXPECT_FALSE(fs::exists(launcher));
  CheckAtStart();
  EXPECT_EQ(ReadFileBytes(launcher), "\n");
  EXPECT_EQ(identity(entry), entryBefore);
  EXPECT_EQ(identity(storePath_), storeBefore);
}

// A check started while another registration holds the store waits for it and projects its
// result, instead of projecting the store as it was before.
TEST_F(DesktopIntegrationTest, TheCheckProjectsTheStoreUnderItsLock) {
  Register("");
  auto registration = std::make_unique<RegistryStore>(storePath_);
  std::atomic<pid_t> checker = 0;
  std::atomic<bool> checked = false;
  std::thread check([&] {
    checker = ::gettid();
    CheckAtStart();
    checked = true;
  });
  // Until the check is done or waits for the lock (the thread's system call is flock).
  const auto waitingForLock = [&] {
    std::ifstream call("/proc/self/task/" + std::to_string(checker) + "/syscall");
    std::string number;
    return checker != 0 && call >> number && number == std::to_string(SYS_flock);
  };
  for (int tries = 0; tries < 1000 && !checked && !waitingForLock(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  RegisterFileType({*registration, exe_, [] {}}, ".trelik_Web", "trelik_Web", true);
  registration.reset();
  check.join();
  EXPECT_EQ(ReadFileBytes(Home("Templates/Web.trelik_Web")), "\n");
}

TEST_F(DesktopIntegrationTest, FilesOfOurNamesThatTheUserMadeAreLeftAlone) {
  WriteFileBytes(Config("user-dirs.dirs"), "XDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n");
  const std::map<std::string, std::string> userFiles = {
      {Home("Vorlagen/Web.trelik_Web"), "the user's own"},
      {Data("applications/trelik-filetypes.desktop"), "[Desktop Entry]\nName=Mine\n"},
  };
  for (const auto& [path, contents] : userFiles) {
    fs::create_directories(fs::path(path).parent_path());
    WriteFileBytes(path, contents);
  }

  Register("");
  Register("Web");
  Register("Blog");
  EXPECT_EQ(ReadFileBytes(Config("user-dirs.dirs")), "XDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n");
  EXPECT_EQ(fs::file_size(Home("Vorlagen/Blog.trelik_Blog")), 1u);
  EXPECT_FALSE(fs::exists(Home("Templates")));
  Unregister("Web");
  Unregister("Blog");

  EXPECT_FALSE(fs::exists(Home("Vorlagen/Blog.trelik_Blog")));
  for (const auto& [path, contents] : userFiles) EXPECT_EQ(ReadFileBytes(path), contents) << path;
}

TEST_F(DesktopIntegrationTest, TheIconIsInstalledOnlyWhenGiven) {
  // A PNG signature and the start of its header chunk: 48 x 48 pixels.
  const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x30", 24);
  iconSource_ = root_ / "trelik.png";
  WriteFileBytes(iconSource_, png);
  Register("");
  EXPECT_EQ(ReadFileBytes(Data("icons/hicolor/48x48/apps/trelik.png")), png);

  iconSource_.clear();
  CheckAtStart();
  EXPECT_FALSE(fs::exists(Data("icons/hicolor/48x48/apps/trelik.png")));
}

// What an earlier build wrote under the name the installed menu entry has now goes, and so do
// the mimeapps.list lines that named it for our types; the user's other lines stay.
TEST_F(DesktopIntegrationTest, TheEntryOfTheFormerNameAndItsDefaultsGo) {
  const std::string former = Data("applications/trelik.desktop");
  fs::create_directories(Data("applications"));
  fs::create_directories(Data("trelik"));
  WriteFileBytes(former, ApplicationEntryText({}, kExe));
  WriteFileBytes(Data("trelik/generated.list"), former + "\n");
  WriteFileBytes(Config("mimeapps.list"),
                 "[Default Applications]\napplication/x-trelik=trelik.desktop\n"
                 "application/x-trelik-gone=trelik.desktop;\ntext/plain=trelik.desktop\n");

  Register("");

  EXPECT_FALSE(fs::exists(former));
  EXPECT_EQ(ReadFileBytes(Config("mimeapps.list")),
            "[Default Applications]\ntext/plain=trelik.desktop\n"
            "application/x-trelik=trelik-filetypes.desktop\n");
}

// Without a desktop, xdg-open falls back to its generic mode, which takes the Exec line's first
// word as it stands: a program path that needs no quotes must come through unquoted for it to
// run. One that needs them cannot run that way (xdg-utils 1.1.3 splits at blanks whatever the
// quotes); the desktops' own reader, GIO, starts it.
TEST_F(DesktopIntegrationTest, OpeningALauncherStartsTheProgramQuotedOrNot) {
  ASSERT_EQ(RunCommand("command -v mimetype").exitCode, 0)
      << "xdg-mime's generic mode reads globs through mimetype (libfile-mimeinfo-perl)";
  const std::string marker = root_ / "opened";
  const std::string launcher = root_ / "work/New.trelik_Web";
  fs::create_directories(root_ / "work");
  WriteFileBytes(launcher, "\n");
  const std::pair<std::string, std::string> cases[] = {
      {"bin",
       "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u DISPLAY "
       "WAYLAND_DISPLAY=trelik-test xdg-open "},
      {"my bin", "gio open "},
  };
  for (const auto& [folder, opener] : cases) {
    SCOPED_TRACE(folder);
    exe_ = root_ / (folder + "/trelik");
    fs::create_directories(root_ / folder);
    WriteFileBytes(exe_, "#!/bin/sh\nprintf '%s' \"$1\" >" + Quoted(marker) + "\n");
    fs::permissions(exe_, fs::perms::owner_all);
    Register("Web");
    const std::string entry = Data("applications/trelik-filetypes.desktop");
    const CommandResult validation = RunCommand("desktop-file-validate " + Quoted(entry));
    EXPECT_EQ(validation.exitCode, 0) << validation.output;
    EXPECT_EQ(validation.output, "");

    fs::remove(marker);
    const CommandResult opening = RunCommand(opener + Quoted(launcher));
    EXPECT_EQ(opening.exitCode, 0) << opening.output;
    for (int wait = 0; wait < 100 && !fs::exists(marker); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(fs::exists(marker) ? ReadFileBytes(marker) : "", launcher);
  }
}

// Lines added to the list by hand, and files of ours that the user has rewritten since, cost
// nothing: they are named once and taken off the list.
TEST_F(DesktopIntegrationTest, OnlyFilesThatWeWroteWhereWeWriteAreRemoved) {
  Register("Web");
  const std::string list = Data("trelik/generated.list");
  fs::create_directories(Home("Documents"));
  const std::map<std::string, std::string> userFiles = {
      {Home("important.txt"), "thesis"},
      {Home("Documents/Web.trelik_Web"), "\n"},
      {Home("Templates/Web.trelik_Web"), "mine"},
      {Data("applications/trelik-filetypes.desktop"), "[Desktop Entry]\n"}};
  for (const auto& [path, contents] : userFiles) WriteFileBytes(path, contents);
  WriteFileBytes(
      list, ReadFileBytes(list) + Home("important.txt\n") + Home("Documents/Web.trelik_Web\n"));
  MemoryRegistry none;
  EXPECT_EQ(RegenerateDesktopIntegration(none, folders_, kExe, "").leftAlone.size(), 4u);
  for (const auto& [path, contents] : userFiles) EXPECT_EQ(ReadFileBytes(path), contents) << path;
  EXPECT_FALSE(fs::exists(Data("mime/packages/trelik.xml")));
  // The folders Trelik made stay, for the user's files in them.
  EXPECT_EQ(ReadFileBytes(list), Data("applications/\n") + Home("Templates/\n"));
  EXPECT_TRUE(RegenerateDesktopIntegration(none, folders_, kExe, "").leftAlone.empty());
}

// A list that never ends is named and left as it is.
TEST_F(DesktopIntegrationTest, OwnFilesThatAreNoRegularFilesAreReportedAndKept) {
  for (const auto& path : {Data("trelik/generated.list"), Config("mimeapps.list")}) {
    fs::create_directories(fs::path(path).parent_path());
    fs::create_symlink("/dev/zero", path);
    MemoryRegistry none;
    const auto failure = RegenerateDesktopIntegration(none, folders_, kExe, "").failure;
    EXPECT_TRUE(failure.starts_with(path + ": ") && fs::is_symlink(path)) << failure;
    fs::remove(path);
  }
}

// Names the desktop's files cannot hold are left out of them, and named; every other type,
// escaped where it must be, still resolves after the real update-mime-database.
TEST_F(DesktopIntegrationTest, HostileNamesAreEscapedOrLeftOutAndTheRestStillResolves) {
  // The store refuses C0 control characters and names past 255 bytes.
  const std::pair<std::string, std::string> cases[] = {
      // name, as a notice shows it if left out
      {"R&D; 100% #1", ""},
      {"<a b='c'>", ""},
      {"say \"hi\"", ""},
      {std::string(200, 'm'), ""},
      {"caf\xE9", "caf\\xE9"},
      {"\xFF\xFE", "\\xFF\\xFE"},
      {"del\x7F", "del\\x7F"},
      {"nel\xC2\x85", "nel\\xC2\\x85"},
      {std::string(247, 'n'), std::string(60, 'n') + "\xE2\x80\xA6"}};
  Register("");
  for (const auto& [name, shown] : cases) Register(name);
  const std::string notice = notices_.empty() ? "" : notices_.back();
  for (const auto& [name, shown] : cases) {
    SCOPED_TRACE(shown.empty() ? name : shown);
    std::string launcher;
    for (const auto& entry : fs::directory_iterator(Home("Templates"))) {
      if (entry.path().string().ends_with(".trelik_" + name)) launcher = entry.path();
    }
    EXPECT_EQ(launcher.empty(), !shown.empty());
    if (!launcher.empty()) {
      EXPECT_TRUE(FileType(launcher).starts_with("application/x-trelik-"));
    }
    EXPECT_EQ(notice.find('"' + (shown.empty() ? name : shown) + '"') != std::string::npos,
              !shown.empty());
  }
  const std::size_t count = notices_.size();
  CheckAtStart();  // named once
  EXPECT_EQ(notices_.size(), count);
  UnregisterEverything();  // the launchers went, a cut one too
  EXPECT_FALSE(fs::exists(Home("Templates")));
}

// The first file that cannot be written is named with the system's reason; the rest is still
// written.
TEST_F(DesktopIntegrationTest, AFileThatCannotBeWrittenIsNamedWithTheReason) {
  fs::create_directories(Data(""));
  WriteFileBytes(Data("applications"), "a file where a folder belongs");
  RegistryStore store(storePath_);
  RegisterFileType({store, kExe, [] {}}, ".trelik", "Trelik", false);
  const DesktopUpdate update = RegenerateDesktopIntegration(store, folders_, kExe, "");
  EXPECT_EQ(update.failure, Data("applications/trelik-filetypes.desktop") + ": Not a directory");
  EXPECT_TRUE(fs::exists(Data("mime/packages/trelik.xml")));
}

// --unregister-all leaves the home as it was before Trelik: the folders, files and lines it made
// go, and a folder, file or line that the user had stays, however like Trelik's it looks.
TEST_F(DesktopIntegrationTest, UnregisteringLeavesTheHomeAsItWas) {
  const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x30\0\0\0\x30", 24);
  iconSource_ = root_ / "trelik.png";
  WriteFileBytes(iconSource_, png);
  const std::map<std::string, std::string> homes[] = {
      {},  // a fresh home; a name ending in '/' is a folder
      {{"Templates/", ""},
       {".config/user-dirs.dirs", ""},
       {".config/mimeapps.list", "[Default Applications]\n"},
       {".local/share/templates/", ""},
       {"Documents/", ""}},
  };
  // Everything in the home but Trelik's own data folder, which keeps the templates.
  const auto snapshot = [this] {
    std::map<std::string, std::string> found;
    for (auto entry = fs::recursive_directory_iterator(folders_.home);
         entry != fs::recursive_directory_iterator(); ++entry) {
      const std::string path = entry->path().lexically_relative(folders_.home);
      if (path == ".local/share/trelik") entry.disable_recursion_pending();
      if (!std::string(".local/share/trelik/").starts_with(path + "/")) {
        found[path] = entry->is_directory() ? "/" : ReadFileBytes(entry->path());
      }
    }
    return found;
  };
  for (const auto& home : homes) {
    SCOPED_TRACE(home.size());
    fs::remove_all(folders_.home);
    fs::create_directories(folders_.home);
    for (const auto& [path, contents] : home) {
      fs::create_directories(fs::path(Home(path)).parent_path());
      if (!path.ends_with('/')) WriteFileBytes(Home(path), contents);
    }
    const auto before = snapshot();
    Register("");
    Register("Web");
    ASSERT_TRUE(fs::exists(Home("Templates/Web.trelik_Web")));
    // A folder added to the list by hand is not one that Trelik made.
    std::ofstream(Data("trelik/generated.list"), std::ios::app) << Home("Documents/\n");
    UnregisterEverything();
    EXPECT_EQ(snapshot(), before);
  }
}

// Each file manager's folder action holds the keys its documentation names, starts the editor
// on the folder and can be run; the scripts are run as Nautilus and Caja run them: in the
// folder shown, with the chosen folder's name or with none.
TEST_F(DesktopIntegrationTest, EachFolderActionHoldsWhatItsFileManagerReadsAndRuns) {
  exe_ = root_ / "bin/the tool";
  fs::create_directories(root_ / "bin");
  WriteFileBytes(exe_, "#!/bin/sh\nprintf '%s|' \"$@\" > \"$HOME/started\"\n");
  fs::permissions(exe_, fs::perms::owner_all);
  Register("");
  const std::string exec = "Exec=\"" + exe_ + "\" --editor --template-from ";
  const std::map<std::string, std::vector<std::string>> keys = {
      {Data("kio/servicemenus/trelik-make-template.desktop"),
       {"[Desktop Entry]", "Type=Service", "X-KDE-ServiceTypes=KonqPopupMenu/Plugin",
        "MimeType=inode/directory;", "Actions=makeTrelikTemplate;",
        "[Desktop Action makeTrelikTemplate]", "Name=Make a Trelik template", exec + "%f"}},
      {Data("nemo/actions/trelik-make-template.nemo_action"),
       {"[Nemo Action]", "Name=Make a Trelik template", exec + "%F", "Selection=s",
        "Extensions=dir;"}},
      {Data("file-manager/actions/trelik-make-template.desktop"),
       {"[Desktop Entry]", "Type=Action", "Name=Make a Trelik template", "Profiles=folder;",
        "[X-Action-Profile folder]", "MimeTypes=inode/directory;", "SelectionCount==1",
        exec + "%f"}},
  };
  for (const auto& [path, lines] : keys) {
    const std::string text = "\n" + ReadFileBytes(path);
    EXPECT_TRUE(text.starts_with("\n" + lines[0] + "\n")) << path;
    for (const auto& line : lines) EXPECT_NE(text.find("\n" + line + "\n"), text.npos) << line;
  }
  // PCManFM would show a tooltip where the entry's name belongs.
  EXPECT_EQ(
      ReadFileBytes(Data("file-manager/actions/trelik-make-template.desktop")).find("Tooltip"),
      std::string::npos);
  EXPECT_NE(fs::status(Data("kio/servicemenus/trelik-make-template.desktop")).permissions() &
                fs::perms::owner_exec,
            fs::perms::none);
  fs::create_directories(root_ / "shown/Sub 'Folder'");
  for (const auto& script : {Data("nautilus/scripts/Make a Trelik template"),
                             Config("caja/scripts/Make a Trelik template")}) {
    for (const auto& [argument, folder] : std::map<std::string, std::string>{
             {"", root_ / "shown"},
             {" 'Sub '\\''Folder'\\'", root_ / "shown/Sub 'Folder'"},
             {" " + Quoted(root_ / "shown/Sub 'Folder'"), root_ / "shown/Sub 'Folder'"}}) {
      ASSERT_EQ(
          RunCommand("cd " + Quoted(root_ / "shown") + " && " + Quoted(script) + argument).exitCode,
          0)
          << script << argument;
      EXPECT_EQ(ReadFileBytes(Home("started")), "--editor|--template-from|" + folder + "|");
    }
  }
}

// Thunar keeps its actions in one file with the user's: Trelik's goes in before the list's end
// once, an older one of Trelik's is replaced, and taking it out gives back the user's bytes.
TEST(ThunarActionsTest, TheUsersActionsAndCommentsStayByteForByte) {
  const std::string users[] = {
      std::string(kEmptyThunarActions),
      "<?xml version=\"1.0\"?>\n<!-- <actions></actions> -->\n<actions>\n<action>\n"
      "\t<name>Mine</name>\n\t<unique-id>1-1</unique-id>\n</action>\n</actions>\n",
      "<actions><action><name>Inline</name></action></actions>",
  };
  for (const auto& user : users) {
    SCOPED_TRACE(user);
    const auto with = WithThunarAction(user, "/old/trelik");
    ASSERT_TRUE(with);
    EXPECT_NE(with->find("<command>'/old/trelik' --editor --template-from %f</command>"),
              std::string::npos);
    EXPECT_EQ(with->find("<action>\n\t<icon>trelik"), user.rfind("</actions>"));
    const auto again = WithThunarAction(*with, "/new/trelik & co");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->find("/old/trelik"), std::string::npos);
    EXPECT_NE(again->find("'/new/trelik &amp; co'"), std::string::npos);
    EXPECT_EQ(WithoutThunarAction(*again), user);
  }
  EXPECT_FALSE(WithThunarAction("<!-- <actions></actions> -->", "/trelik"));
}

}  // namespace
}  // namespace trelik
