#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/run_command_line.h"
#include "app/startup.h"
#include "common/error.h"
#include "common/path_parts.h"
#include "common/win32/module_path.h"
#include "common/win32/narrow_text.h"
#include "creation/command_line.h"
#include "creation/program_options.h"
#include "shell/folder_verb.h"
#include "shell/win32/ole_session.h"
#include "shell/win32/win32_registry.h"
#include "shell/win32/win32_shell_operations.h"
#include "ui/program.h"
#include "ui/win32/win32_progress_window.h"
#include "ui/win32/win32_widgets.h"

namespace trelik {
namespace {

// A GUI program has no console of its own: text goes to the standard handles it was given (by a
// console that started it through trelik.com, or by redirection), and nowhere without them.
void WriteToHandle(DWORD which, const std::string& text) {
  const HANDLE handle = GetStdHandle(which);
  if (text.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  static_cast<void>(
      WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
}

// Started from a console, through trelik.com or with redirection, the program has standard
// handles; started from a shortcut, Explorer or the Run box, it has none and prints nowhere.
bool HasStandardHandles() {
  for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return true;
  }
  return false;
}

void PrintReply(const TextReply& reply) {
  WriteToHandle(STD_OUTPUT_HANDLE, reply.standardOutput);
  WriteToHandle(STD_ERROR_HANDLE, reply.standardError);
}

// The command line's items after the program's own path. A launcher path is split by the rule it
// always followed. Options are split as the C runtime splits them, so that an argument quoted as
// for any Windows program (a quote as \", backslashes before a quote doubled) arrives as it was
// given, and a quote in a name reaches the name's rules instead of reshaping the name.
ProgramOptions ReadProgramOptions() {
  std::vector<std::string> items = SplitCommandLine(GetCommandLineA());
  if (!items.empty()) items.erase(items.begin());
  if (!items.empty() && items.front().starts_with('-')) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    items.clear();
    for (int index = 1; arguments != nullptr && index < count; ++index) {
      items.push_back(NarrowText(arguments[index]));
    }
    LocalFree(arguments);
  }
  return ParseProgramOptions(items, HelpWords::kWindows);
}

// A copy's progress window, owned by the window the copy is made for.
CopyProgressReport OpenCopyProgress(NativeWindow owner) {
  auto window = std::make_shared<ProgressWindow>(CopyProgress(), static_cast<HWND>(owner));
  return [window](std::uint64_t done, std::uint64_t total) { return window->Update(done, total); };
}

void RunProgram(const ProgramOptions& options, const CommandLinePlatform& platform) {
  Win32Application application;
  Win32ShellOperations shell(&OpenCopyProgress);
  shell.SetApplicationWindow(application.ApplicationWindow());
  Program program =
      MakeProgram(application, shell, options, platform, platform.dataFolder + "trelik.chm");
  // When Windows ends the session the windows go without their close handlers, but the
  // settings are still written out.
  application.onSessionEnd = [&program] { program.Settings.reset(); };
  RunTrelik(program);
}

int Main() {
  ProgramOptions options = ReadProgramOptions();
  options.inWindow = options.inWindow || !HasStandardHandles();
  const std::string executablePath = ModulePath<char>();
  CommandLinePlatform platform{
      .dataFolder = DirectoryPart(executablePath, kWindowsSeparators),
      .executablePath = executablePath,
      .naming = kWindowsExecutable,
      .openRegistry = [] { return std::make_shared<Win32Registry>(); },
      // --list and --new: no window of ours but the copy's progress window.
      .openShell = [] { return std::make_unique<Win32ShellOperations>(&OpenCopyProgress); },
      .print = PrintReply};
  platform.showResult = [](const std::string& text, bool failed) {
    Win32Application application;
    if (failed) {
      application.ShowError(text);
    } else {
      application.ShowMessage(text);
    }
  };
  // Explorer's folder verb is written as the file types are, and goes with them.
  platform.offerFolderAction = [executablePath] {
    Win32Registry registry;
    static_cast<void>(RegisterFolderVerb(registry, executablePath));
  };
  platform.finishRemoval = [](RemovalReport& report) {
    Win32Registry registry;
    const VerbRemoval removal = UnregisterFolderVerb(registry);
    const std::string entry = "folder context-menu entry " + std::string(kFolderVerbKey);
    if (removal == VerbRemoval::kRemoved) report.removed.push_back(entry);
    if (removal == VerbRemoval::kFailed) {
      report.failures.push_back("The " + entry +
                                " could not be removed: " + registry.LastFailure());
    }
  };
  platform.runWindows = [&] {
    try {
      RunProgram(options, platform);
    } catch (const std::exception& error) {
      // Only the program's own windows can fail this far out, when there is no desktop to show
      // them on; the message box may still reach the user.
      MessageBoxA(nullptr, FormatErrorBoxText(error.what()).c_str(), Application::kTitle,
                  MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    }
  };
  const int exitCode = RunCommandLine(options, platform);
  EndOle();
  return exitCode;
}

}  // namespace
}  // namespace trelik

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return trelik::Main(); }
