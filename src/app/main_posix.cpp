#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <QPixmap>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/run_command_line.h"
#include "app/startup.h"
#include "common/error.h"
#include "common/path_parts.h"
#include "library/library_files.h"
#include "shell/posix/desktop_integration.h"
#include "shell/posix/posix_shell_operations.h"
#include "shell/posix/registry_store.h"
#include "ui/qt/qt_shell_windows.h"
#include "ui/qt/qt_widgets.h"
#include "ui/widgets.h"

namespace trelik {
namespace {

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size())
      return {buffer.data(), buffer.data() + length};
    buffer.resize(buffer.size() * 2);
  }
}

// A file shipped with the program: beside it in the build tree, or in share/trelik/ when
// installed.
std::string ProgramFile(const std::string& programFolder, const std::string& name) {
  const std::string beside = programFolder + name;
  if (::access(beside.c_str(), R_OK) == 0) return beside;
  return programFolder + "../share/trelik/" + name;
}

void PrintReply(const TextReply& reply) {
  std::fputs(reply.standardOutput.c_str(), stdout);
  std::fputs(reply.standardError.c_str(), stderr);
}

// The file types are kept in a store file in the data folder; a damaged one is reported by the
// registration that opens it, and left alone.
std::string StorePath(const std::string& dataFolder) { return dataFolder + "filetypes.reg"; }

// After --unregister-all, every desktop file of ours that the store no longer accounts for goes.
void RemoveDesktopFiles(const DesktopFolders& desktop, const std::string& executablePath,
                        RemovalReport& report) {
  try {
    const DesktopUpdate update =
        RegenerateFromStore(StorePath(desktop.dataHome + "/trelik/"), desktop, executablePath, "");
    report.removed.insert(report.removed.end(), update.removed.begin(), update.removed.end());
    report.leftAlone.insert(report.leftAlone.end(), update.leftAlone.begin(),
                            update.leftAlone.end());
    if (!update.failure.empty()) {
      report.failures.push_back("A desktop file could not be removed: " + update.failure);
    }
  } catch (const Error& error) {
    report.failures.push_back(std::string("The desktop files were left: ") + error.what());
  }
}

// After a command's registration, while the store is still locked: the desktop's files are
// brought up to date as the windows' registrations bring them, and what failed is said.
void UpdateDesktopAfterCommand(const std::string& storePath, const DesktopFolders& desktop,
                               const std::string& executablePath) {
  try {
    MemoryRegistry fileTypes(ReadRegistryStore(storePath));
    const DesktopUpdate update = RegenerateDesktopIntegration(
        fileTypes, desktop, executablePath,
        ProgramFile(DirectoryPart(executablePath, kPosixSeparators), "trelik.png"), {});
    if (!update.failure.empty()) {
      std::fprintf(stderr, "trelik: The desktop's New menu could not be brought up to date: %s\n",
                   update.failure.c_str());
    }
    for (const auto& notice : update.notices) std::fprintf(stderr, "trelik: %s\n", notice.c_str());
  } catch (const Error&) {
    // The store was damaged since the registration read it; the next registration says so.
  }
}

// The windows get the small sizes only: the window manager is sent every size the icon has, and
// the large one would cost each start a few milliseconds. They are read as PNG by name: to find
// the format of a file out, Qt would load every image plugin it has, and the libraries they need.
// They are set once the first window is drawn: a window manager takes an icon that comes after
// the window, and the start does not wait for the reading.
void SetWindowIcons(const std::string& programFolder) {
  QIcon windowIcon;
  for (const char* size : {"16", "32", "48"}) {
    QImageReader reader(
        QString::fromStdString(ProgramFile(programFolder, std::string("trelik-") + size + ".png")),
        "png");
    reader.setAutoDetectImageFormat(false);
    windowIcon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  QApplication::setWindowIcon(windowIcon);
}

void RunProgram(const ProgramOptions& options, const DesktopFolders& desktop,
                const CommandLinePlatform& platform) {
  const std::string programFolder = DirectoryPart(platform.executablePath, kPosixSeparators);
  const std::string iconFile = ProgramFile(programFolder, "trelik.png");

  QtApplication application;
  ProgressWindow copyProgress(CopyProgress());
  QtFolderPicker picker(platform.dataFolder + kSettingsFile);
  const std::string storePath = StorePath(platform.dataFolder);
  // The desktop learns of changed file types by its files being written anew; only files that
  // differ are written, and the desktop's caches rebuilt only then. At the end of a registration
  // that changed the store, whose store still holds the lock, the store is read as that
  // registration left it; the check at start takes the lock itself.
  // A desktop file that cannot be written is reported once a run, naming the file and the
  // reason, and the program goes on; the next run tries again. A notice is shown once.
  bool desktopChecked = false;
  bool desktopFailureShown = false;
  const auto updateDesktop = [&](bool lockHeld) {
    desktopChecked = true;
    ProgressWindow progressWindow(DesktopUpdateProgress());
    const auto progress = [&progressWindow](std::size_t done, std::size_t total) {
      progressWindow.Update(done, total);
    };
    try {
      DesktopUpdate update;
      if (lockHeld) {
        MemoryRegistry fileTypes(ReadRegistryStore(storePath));
        update = RegenerateDesktopIntegration(fileTypes, desktop, platform.executablePath, iconFile,
                                              progress);
      } else {
        update =
            RegenerateFromStore(storePath, desktop, platform.executablePath, iconFile, progress);
      }
      if (!update.failure.empty() && !desktopFailureShown) {
        desktopFailureShown = true;
        application.ShowError(
            "The desktop's file types and New menu could not be brought up to date.\n" +
            update.failure);
      }
      if (!update.leftAlone.empty()) {
        std::string text =
            "These files were listed as Trelik's but are not what it wrote there, so "
            "they were left as they are:\nMove them away if Trelik should write them again.";
        for (const auto& path : update.leftAlone) text.append("\n").append(path);
        application.ShowMessage(text);
      }
      for (const auto& notice : update.notices) application.ShowMessage(notice);
    } catch (const Error&) {
      // The store was damaged since the registration read it; the next registration says so.
    }
  };
  PosixShellOperations shell([&picker](const std::string& title,
                                       std::string& folder) { return picker.Pick(title, folder); },
                             [&updateDesktop] { updateDesktop(true); },
                             [&copyProgress](std::uint64_t done, std::uint64_t total) {
                               return copyProgress.Update(done, total);
                             });

  Program program = MakeProgram(application, shell, options, platform,
                                ProgramFile(programFolder, "help/index.html"));
  // The registration at start tells the desktop only of a change, but the desktop's files are
  // checked against the store at every start all the same: one that the user deleted, or that
  // could not be written before, comes back. The check waits until the window has been drawn,
  // since the user has nothing to wait for in it (a timer at once would run before the window
  // even reaches the display server); a registration that changed the store has done it.
  RunTrelik(program, [&] {
    SetWindowIcons(programFolder);
    if (!desktopChecked) updateDesktop(false);
  });
}

// A notice in a window of its own, when there is a display to show it on: the menu entry's
// "Remove from this desktop" has no terminal, so the user would never see what was printed.
void ShowResult(int argc, char** argv, const std::string& text, bool failed) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr) {
    return;
  }
  QApplication qtApplication(argc, argv);
  QApplication::setDesktopFileName("trelik");
  QtApplication application;
  if (failed) {
    application.ShowError(text);
  } else {
    application.ShowMessage(text);
  }
}

int Main(int argc, char** argv) {
  // Read before Qt takes its own options out of the arguments: a launcher path never starts
  // with '-', and anything else that does is ours to refuse.
  const ProgramOptions options =
      ParseProgramOptions(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  const DesktopFolders desktop = XdgFoldersFromEnvironment();
  CommandLinePlatform platform{
      .dataFolder = desktop.dataHome + "/trelik/",
      .executablePath = ExecutablePath(),
      .naming = kPosixExecutable,
      // --list and --new show no window and write no desktop files; the copy shows no progress.
      .openShell = [] { return std::make_unique<PosixShellOperations>(nullptr, nullptr, nullptr); },
      .print = PrintReply};
  platform.openRegistry = [store = StorePath(platform.dataFolder)] {
    return std::make_shared<RegistryStore>(store);
  };
  platform.openRegisteringShell = [&] {
    return std::make_unique<PosixShellOperations>(
        nullptr,
        [&] {
          UpdateDesktopAfterCommand(StorePath(platform.dataFolder), desktop,
                                    platform.executablePath);
        },
        nullptr);
  };
  platform.finishRemoval = [&](RemovalReport& report) {
    RemoveDesktopFiles(desktop, platform.executablePath, report);
  };
  platform.showResult = [&](const std::string& text, bool failed) {
    ShowResult(argc, argv, text, failed);
  };
  platform.runWindows = [&] {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName("trelik");
    QApplication::setDesktopFileName("trelik");
    try {
      RunProgram(options, desktop, platform);
    } catch (const std::exception& error) {
      // Only the program's own windows can fail this far out; the message box may still reach
      // the user.
      QMessageBox box(QMessageBox::Critical, Application::kTitle,
                      QString::fromStdString(FormatErrorBoxText(error.what())), QMessageBox::Ok);
      box.exec();
    }
  };
  return RunCommandLine(options, platform);
}

}  // namespace
}  // namespace trelik

int main(int argc, char** argv) { return trelik::Main(argc, argv); }
