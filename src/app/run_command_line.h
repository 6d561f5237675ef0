#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/unregister_all.h"
#include "creation/program_options.h"
#include "shell/file_type_registration.h"
#include "shell/registry.h"
#include "shell/shell_operations.h"
#include "ui/program.h"

namespace trelik {

// What carrying out a command line needs of the platform it runs on.
struct CommandLinePlatform {
  std::string dataFolder;  // where the store, list and settings live; ends in a separator
  std::string executablePath;
  ExecutableNaming naming;
  // Opens the file-type registry for one registration or removal.
  std::function<std::shared_ptr<Registry>()> openRegistry;
  // The shell for the commands that show no window of the program's own.
  std::function<std::unique_ptr<ShellOperations>()> openShell;
  // The same for --add, --remove and --register, whose registrations the desktop must learn of
  // as it does of the windows'. Empty: openShell's tells it.
  std::function<std::unique_ptr<ShellOperations>()> openRegisteringShell;
  // After --unregister-all: takes away what else the platform keeps of the file types, adding
  // to the report. May be empty.
  std::function<void(RemovalReport&)> finishRemoval;
  // Shows a command's result as a notice, or as the error box when `failed`, for a command
  // started where no terminal shows what it prints. May be empty.
  std::function<void(const std::string& text, bool failed)> showResult;
  // Offers the folder context-menu entry when the editor is shown (Program::offerFolderAction).
  // May be empty.
  std::function<void()> offerFolderAction;
  // Shows the windows until the user closes the last of them.
  std::function<void()> runWindows;
  // Writes a reply to standard output and standard error.
  std::function<void(const TextReply&)> print;
};

// Carries out what the options ask for: a reply without windows (--help, --version, a usage
// error), --unregister-all (its result also in a window when asked), --list and --new, or else
// the windows. Returns the exit code.
int RunCommandLine(const ProgramOptions& options, const CommandLinePlatform& platform);

// The program's state for windows shown through `application` and `shell`.
Program MakeProgram(Application& application, ShellOperations& shell, const ProgramOptions& options,
                    const CommandLinePlatform& platform, const std::string& helpFile);

}  // namespace trelik
