#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/unregister_all.h"
#include "common/error.h"
#include "common/path_parts.h"
#include "creation/program_options.h"
#include "creation/script_commands.h"
#include "library/ini_file.h"
#include "library/library_files.h"
#include "shell/posix/desktop_integration.h"
#include "shell/posix/posix_shell_operations.h"
#include "shell/posix/registry_store.h"
#include "ui/qt/qt_shell_windows.h"
#include "ui/qt/qt_widgets.h"
#include "ui/widgets.h"

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

int PrintReply(const trelik::TextReply& reply) {
  std::fputs(reply.standardOutput.c_str(), stdout);
  std::fputs(reply.standardError.c_str(), stderr);
  return reply.exitCode;
}

// Takes every file type out of the store, then every desktop file of ours that the store no
// longer accounts for; the templates, their list and the settings stay.
trelik::TextReply RemoveRegistrations() {
  const trelik::DesktopFolders desktop = trelik::XdgFoldersFromEnvironment();
  const std::string dataFolder = desktop.dataHome + "/trelik/";
  const std::string storePath = dataFolder + "filetypes.reg";
  trelik::PosixShellOperations shell({}, {}, {});
  const std::string executablePath = ExecutablePath();
  trelik::RemovalReport report = trelik::UnregisterAll(
      [&] { return std::make_shared<trelik::RegistryStore>(storePath); }, shell,
      dataFolder + trelik::kTemplateListFile, executablePath, trelik::kPosixExecutable);
  try {
    trelik::MemoryRegistry fileTypes(trelik::ReadRegistryStore(storePath));
    const trelik::DesktopUpdate update =
        trelik::RegenerateDesktopIntegration(fileTypes, desktop, executablePath, "");
    report.removed.insert(report.removed.end(), update.removed.begin(), update.removed.end());
    report.leftAlone.insert(report.leftAlone.end(), update.leftAlone.begin(),
                            update.leftAlone.end());
    if (!update.failure.empty()) {
      report.failures.push_back("A desktop file could not be removed: " + update.failure);
    }
  } catch (const trelik::Error& error) {
    report.failures.push_back(std::string("The desktop files were left: ") + error.what());
  }
  return trelik::FormatRemovalReport(report);
}

// --list and --new: no window, no desktop files; the copy shows no progress.
trelik::TextReply RunScriptCommand(const trelik::ProgramOptions& options) {
  const std::string dataFolder = trelik::XdgFoldersFromEnvironment().dataHome + "/trelik/";
  trelik::PosixShellOperations shell({}, {}, {});
  const trelik::TIniFile settings(dataFolder + trelik::kSettingsFile);
  const trelik::ScriptServices services{shell, settings, dataFolder};
  return options.action == trelik::ProgramAction::kList
             ? trelik::ListTemplates(services)
             : trelik::CreateFromScript(options, services);
}

void RunProgram(const trelik::ProgramOptions& options) {
  const std::string executablePath = ExecutablePath();
  const std::string programFolder = trelik::DirectoryPart(executablePath, trelik::kPosixSeparators);
  const std::string iconFile = ProgramFile(programFolder, "trelik.png");
  // The windows get the small sizes only: the window manager is sent every size the icon has,
  // and the large one would cost each start a few milliseconds.
  QIcon windowIcon;
  for (const char* size : {"16", "32", "48"}) {
    windowIcon.addFile(
        QString::fromStdString(ProgramFile(programFolder, std::string("trelik-") + size + ".png")));
  }
  QApplication::setWindowIcon(windowIcon);
  const trelik::DesktopFolders desktop = trelik::XdgFoldersFromEnvironment();
  const std::string dataFolder = desktop.dataHome + "/trelik/";

  trelik::QtApplication application;
  trelik::CopyProgressWindow progress;
  trelik::QtFolderPicker picker(dataFolder + trelik::kSettingsFile);
  // The file types are kept in a store file in the data folder; a damaged one is reported by
  // the registration that opens it, and left alone.
  const std::string storePath = dataFolder + "filetypes.reg";
  const auto openStore = [storePath] { return std::make_shared<trelik::RegistryStore>(storePath); };
  // The desktop learns of changed file types by its files being written anew; only files that
  // differ are written, and the desktop's caches rebuilt only then. It runs at the end of a
  // registration that changed the store, whose store still holds the lock, so it reads the
  // store without the lock.
  // A desktop file that cannot be written is reported once a run, naming the file and the
  // reason, and the program goes on; the next run tries again. A notice is shown once.
  bool desktopChecked = false;
  bool desktopFailureShown = false;
  const auto updateDesktop = [&] {
    desktopChecked = true;
    try {
      trelik::MemoryRegistry fileTypes(trelik::ReadRegistryStore(storePath));
      const trelik::DesktopUpdate update =
          trelik::RegenerateDesktopIntegration(fileTypes, desktop, executablePath, iconFile);
      if (!update.failure.empty() && !desktopFailureShown) {
        desktopFailureShown = true;
        application.ShowError(
            "The desktop's file types and New menu could not be brought up to date.\n" +
            update.failure);
      }
      if (!update.leftAlone.empty()) {
        std::string text =
            "These files were listed as Trelik's but are not what it wrote there, so "
            "they were left as they are:";
        for (const auto& path : update.leftAlone) text.append("\n").append(path);
        application.ShowMessage(text);
      }
      for (const auto& notice : update.notices) application.ShowMessage(notice);
    } catch (const trelik::Error&) {
      // The store was damaged since the registration read it; the next registration says so.
    }
  };
  trelik::PosixShellOperations shell(
      [&picker](const std::string& title, std::string& folder) {
        return picker.Pick(title, folder);
      },
      updateDesktop,
      [&progress](std::uint64_t done, std::uint64_t total) {
        return progress.Update(done, total);
      });

  trelik::Program program{.application = application,
                          .shell = shell,
                          .openRegistry = openStore,
                          .executablePath = executablePath,
                          .launcherPath = options.launcherPath,
                          .editorOnly = options.action == trelik::ProgramAction::kEditor,
                          .dataFolder = dataFolder,
                          .helpFile = ProgramFile(programFolder, "help/index.html")};
  // The registration at start tells the desktop only of a change, but the desktop's files are
  // checked against the store at every start all the same: one that the user deleted, or that
  // could not be written before, comes back. The check waits until the window is up, since the
  // user has nothing to wait for in it; a registration that changed the store has done it.
  QTimer::singleShot(0, [&] {
    if (!desktopChecked) updateDesktop();
  });
  trelik::RunTrelik(program);
}

}  // namespace

int main(int argc, char** argv) {
  // Read before Qt takes its own options out of the arguments: a launcher path never starts
  // with '-', and anything else that does is ours to refuse.
  const trelik::ProgramOptions options =
      trelik::ParseProgramOptions(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  if (const auto reply = trelik::ReplyWithoutWindows(options)) return PrintReply(*reply);
  if (options.action == trelik::ProgramAction::kUnregisterAll)
    return PrintReply(RemoveRegistrations());
  if (options.action == trelik::ProgramAction::kList ||
      options.action == trelik::ProgramAction::kNew) {
    return PrintReply(RunScriptCommand(options));
  }

  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName("trelik");
  QApplication::setDesktopFileName("trelik");
  try {
    RunProgram(options);
  } catch (const std::exception& error) {
    // Only the program's own windows can fail this far out; the message box may still reach
    // the user.
    QMessageBox box(QMessageBox::Critical, trelik::Application::kTitle,
                    QString::fromStdString(trelik::FormatErrorBoxText(error.what())),
                    QMessageBox::Ok);
    box.exec();
  }
  return 0;
}
