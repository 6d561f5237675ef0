#include <ole2.h>
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "app/startup.h"
#include "common/error.h"
#include "common/path_parts.h"
#include "creation/command_line.h"
#include "shell/win32/win32_registry.h"
#include "shell/win32/win32_shell_operations.h"
#include "ui/program.h"
#include "ui/win32/win32_widgets.h"

namespace trelik {
namespace {

// The full path of the running executable as the system records it, however long.
std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: try again with room to spare
  }
}

void RunProgram() {
  Win32Application application;
  Win32ShellOperations shell;
  shell.SetApplicationWindow(application.ApplicationWindow());
  const std::string executablePath = ExecutablePath();
  const std::string dataFolder = DirectoryPart(executablePath, kWindowsSeparators);
  Program program{.application = application,
                  .shell = shell,
                  .openRegistry = [] { return std::make_shared<Win32Registry>(); },
                  .executablePath = executablePath,
                  .launcherPath = LauncherPathFromCommandLine(GetCommandLineA()),
                  .dataFolder = dataFolder,
                  .helpFile = dataFolder + "trelik.chm"};
  // When Windows ends the session the windows go without their close handlers, but the
  // settings are still written out.
  application.onSessionEnd = [&program] { program.Settings.reset(); };
  RunTrelik(program);
}

}  // namespace
}  // namespace trelik

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The shell's copy and folder picker need COM on this, the one thread.
  const HRESULT ole = OleInitialize(nullptr);
  try {
    trelik::RunProgram();
  } catch (const std::exception& error) {
    // Only the program's own windows can fail this far out, when there is no desktop to show
    // them on; the message box may still reach the user.
    MessageBoxA(nullptr, trelik::FormatErrorBoxText(error.what()).c_str(),
                trelik::Application::kTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  return 0;
}
