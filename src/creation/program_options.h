#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trelik {

// What the command line asks the program to do.
enum class ProgramAction {
  kRun,            // the main window, on the launcher path when there is one
  kEditor,         // the template editor alone; nothing is created
  kUnregisterAll,  // remove every file type registered, then end
  kHelp,
  kVersion,
  kNew,   // a project from a template, without any window
  kList,  // the templates, one a line
  kUsageError,
};

struct ProgramOptions {
  ProgramAction action = ProgramAction::kRun;
  std::string launcherPath;  // kRun: the first argument; empty without one
  std::string error;         // kUsageError: one line naming the argument at fault
  // kNew: the template, the name as it would be typed, the folder the project goes into (empty:
  // the current one), and whether its main file is opened.
  std::string templateName;
  std::string typedName;
  std::string folder;
  bool open = false;
};

// Reads the arguments that follow the program's own path. A first argument that does not start
// with '-' is the launcher path, and whatever follows it is ignored, as it always was; otherwise
// it is one of the options, alone, or --new with its template and its own options.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// What a command line answered without any window says, and how the program then ends.
struct TextReply {
  std::string standardOutput;
  std::string standardError;
  int exitCode = 0;
};

// The reply to --help, --version and a usage error; nullopt for the other actions.
// A usage error ends with this exit code, as shells and getopt use it.
inline constexpr int kUsageExitCode = 2;

std::optional<TextReply> ReplyWithoutWindows(const ProgramOptions& options);

}  // namespace trelik
