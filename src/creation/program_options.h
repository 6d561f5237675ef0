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
  kUsageError,
};

struct ProgramOptions {
  ProgramAction action = ProgramAction::kRun;
  std::string launcherPath;  // kRun: the first argument; empty without one
  std::string error;         // kUsageError: one line naming the argument at fault
};

// Reads the arguments that follow the program's own path. A first argument that does not start
// with '-' is the launcher path, and whatever follows it is ignored, as it always was; otherwise
// it is one of the options, alone.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// What a command line answered without any window says, and how the program then ends.
struct TextReply {
  std::string standardOutput;
  std::string standardError;
  int exitCode = 0;
};

// The reply to --help, --version and a usage error; nullopt for the other actions.
std::optional<TextReply> ReplyWithoutWindows(const ProgramOptions& options);

}  // namespace trelik
