// Where trelik.exe's start goes, step by step: the program's own start-up calls made in the same
// order as its WinMain makes them, each stamped with the time since the process was created,
// so that what the loader does before WinMain is counted too. The main window is shown and the
// program ends once its showing has been drawn. Prints one "step ms" line per step, and the whole
// time until the main window was shown, to standard output. Usage (under Wine):
// startup_steps_win32.exe LAUNCHER, with the library beside it.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/run_command_line.h"
#include "app/startup.h"
#include "common/path_parts.h"
#include "common/win32/module_path.h"
#include "creation/program_options.h"
#include "shell/win32/win32_registry.h"
#include "shell/win32/win32_shell_operations.h"
#include "ui/win32/win32_widgets.h"

namespace {

double Now() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return (static_cast<double>(now.dwHighDateTime) * 4294967296.0 + now.dwLowDateTime) / 1e4;
}

double ProcessCreated() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return (static_cast<double>(created.dwHighDateTime) * 4294967296.0 + created.dwLowDateTime) / 1e4;
}

struct Stamps {
  double start = ProcessCreated();
  double last = start;
  std::vector<std::pair<std::string, double>> steps;
  void Step(const std::string& name) {
    const double now = Now();
    steps.emplace_back(name, now - last);
    last = now;
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Stamps stamps;
  stamps.Step("loader_and_runtime");
  const std::string executable = trelik::ModulePath<char>();
  trelik::ProgramOptions options;
  options.launcherPath = __argc > 1 ? __argv[1] : "";
  const trelik::CommandLinePlatform platform{
      .dataFolder = trelik::DirectoryPart(executable, trelik::kWindowsSeparators),
      .executablePath = executable,
      .naming = trelik::kWindowsExecutable,
      .openRegistry = [] { return std::make_shared<trelik::Win32Registry>(); }};
  {
    trelik::Win32Application application;
    stamps.Step("application");
    trelik::Win32ShellOperations shell;
    shell.SetApplicationWindow(application.ApplicationWindow());
    trelik::Program program = trelik::MakeProgram(application, shell, options, platform, "");
    trelik::ProgramActions actions(program);
    stamps.Step("shell_and_program");
    {
      // What the main window's creation spends in the registration of .trelik, done once more.
      actions.RegisterFileType(".trelik", "Trelik", false);
      stamps.Step("(registration_again)");
    }
    trelik::TForm1 main(program, actions);
    stamps.Step("main_window");
    main.Window().Show();
    stamps.Step("show_main_window");
    std::printf("until_shown %.2f\n", stamps.last - stamps.start);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    stamps.Step("pending_messages");
  }
  for (const auto& [name, ms] : stamps.steps) std::printf("%s %.2f\n", name.c_str(), ms);
  return 0;
}
