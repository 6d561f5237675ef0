// ShellOpen reaches a logging stand-in for xdg-open put first on PATH, so nothing is really
// opened. The stand-in runs detached, so the test waits for its log with a bounded poll.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "shell/posix/posix_shell_operations.h"
#include "support/temp_folder.h"
#include "test_files.h"

namespace trelik {
namespace {

using testing::MakeFile;
using testing::TempFolder;

// Puts a folder first on PATH for the life of the object.
class PathPrefix {
 public:
  explicit PathPrefix(const std::string& folder) {
    const char* saved = std::getenv("PATH");
    saved_ = saved != nullptr ? saved : "";
    std::string path = folder;
    path.append(":").append(saved_);
    ::setenv("PATH", path.c_str(), 1);
  }
  ~PathPrefix() { ::setenv("PATH", saved_.c_str(), 1); }

 private:
  std::string saved_;
};

std::string ReadWhenPresent(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ShellOpen, HandsTheTargetToXdgOpenAsOneArgumentWithoutAShell) {
  TempFolder folder;
  const std::string log = folder / "xdg-open.log";
  // Writes its argument count and each argument in brackets, then moves the log into place,
  // so that the test never reads half of it.
  MakeFile(folder / "xdg-open",
           "#!/bin/sh\n"
           "{ echo \"$#\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '" +
               log +
               ".part'\n"
               "mv '" +
               log + ".part' '" + log + "'\n",
           0755);
  const std::string target = "/tmp/a b;$(x) `y` 'q' \"z\" | & > <*.htm";
  PathPrefix path(folder.Path());
  PosixShellOperations shell({}, {}, {});

  shell.ShellOpen(nullptr, "open", target, ShowCommand::kShow);

  // Neither the started program nor a helper process is left as our child.
  const pid_t reaped = ::waitpid(-1, nullptr, WNOHANG);
  const int waitError = errno;
  EXPECT_EQ(reaped, -1);
  EXPECT_EQ(waitError, ECHILD);
  const std::string expected = "1\n[" + target + "]\n";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ReadWhenPresent(log) != expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(ReadWhenPresent(log), expected);
}

// xdg-open says at once when nothing can open the target; that is reported, not dropped.
TEST(ShellOpen, SaysWhyXdgOpenCouldNotOpenTheTarget) {
  TempFolder folder;
  MakeFile(folder / "xdg-open", "#!/bin/sh\nexit 3\n", 0755);
  PathPrefix path(folder.Path());
  PosixShellOperations shell({}, {}, {});
  const std::error_code error = shell.ShellOpen(nullptr, "open", "/tmp/x.odt", ShowCommand::kShow);
  EXPECT_EQ(error.message(), "no application to open it was found");
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);  // nothing left behind as our child
}

TEST(ShellOperations, HandsPickingAndNotifyingToTheApplication) {
  std::string askedTitle;
  int notified = 0;
  PosixShellOperations shell(
      [&askedTitle](const std::string& title, std::string& folder) {
        askedTitle = title;
        folder = "/home/user/Web";
        return true;
      },
      [&notified] { ++notified; }, {});
  std::string folder;

  EXPECT_TRUE(shell.BrowseForFolder("Select a Folder", folder));
  EXPECT_EQ(askedTitle, "Select a Folder");
  EXPECT_EQ(folder, "/home/user/Web");
  shell.NotifyAssociationsChanged();
  EXPECT_EQ(notified, 1);
}

TEST(ShellOperations, WithoutAPickerBrowsingIsACancel) {
  PosixShellOperations shell({}, {}, {});
  std::string folder;

  EXPECT_FALSE(shell.BrowseForFolder("Select a Folder", folder));
  EXPECT_EQ(folder, "");
  shell.NotifyAssociationsChanged();  // nothing to run, and no crash
}

}  // namespace
}  // namespace trelik
