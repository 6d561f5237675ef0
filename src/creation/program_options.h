#pragma once

#include <optional>
#include <string>
#include <string_view>
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

// The options that stand alone on a command line, and what each asks for.
struct LoneOption {
  std::string_view name;
  ProgramAction action;
};
inline constexpr LoneOption kLoneOptions[] = {
    {"--editor", ProgramAction::kEditor}, {"--unregister-all", ProgramAction::kUnregisterAll},
    {"--help", ProgramAction::kHelp},     {"--version", ProgramAction::kVersion},
    {"--list", ProgramAction::kList},
};
// --new, and the options that may follow its template, each at most once: the name as typed
// and the folder, each with its value, and whether the main file is opened.
inline constexpr std::string_view kNewOption = "--new";
enum NewOption { kNameOption, kInOption, kOpenOption };
inline constexpr std::string_view kNewOptions[] = {"--name", "--in", "--open"};

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
