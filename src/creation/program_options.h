#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/folder_action.h"

namespace trelik {

// What the command line asks the program to do.
enum class ProgramAction {
  kRun,            // the main window, on the launcher path when there is one
  kEditor,         // the template editor alone; nothing is created
  kUnregisterAll,  // remove every file type registered, then end
  kHelp,
  kVersion,
  kNew,       // a project from a template, without any window
  kList,      // the templates, one a line
  kAdd,       // a folder becomes a template, without any window
  kRemove,    // a template leaves the library, without any window
  kRegister,  // the listed templates get their file types, as the editor gives them
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
  // kEditor: a folder to make a template of, as the file managers' folder action asks.
  std::string templateFolder;
  // kUnregisterAll: the result is shown in a window as well, for a start without a terminal.
  bool inWindow = false;
  // kAdd: the folder is `folder`, its name as a template `templateName` (empty: the folder's),
  // and what is recorded for it. kRemove: the template is `templateName`.
  std::string mainFile;
  bool autoOpen = false;
  bool fill = false;
  bool deleteFolder = false;  // kRemove: its folder leaves the store too
};

// The options of the command line, in one table. A command comes first and says what the program
// does; the options of a command follow it in any order, each at most once, and so may the
// command's operand. An option's value follows it ("--name TEXT") or is joined to it with '='
// ("--name=TEXT"); "--" ends the options.
struct CommandLineOption {
  std::string_view name;
  std::string_view shortName;  // "-h": empty when it has none
  ProgramAction command;       // the command it is, or the one whose option it is
  bool isCommand;
  std::string_view valueName;  // the value or, for a command, the operand it takes; empty: none
  std::string ProgramOptions::*value = nullptr;  // where the value goes
  bool ProgramOptions::*flag = nullptr;          // what an option without value sets
};
inline constexpr CommandLineOption kCommandLineOptions[] = {
    {kEditorCommand, "", ProgramAction::kEditor, true, ""},
    {kTemplateFromOption, "", ProgramAction::kEditor, false, "FOLDER",
     &ProgramOptions::templateFolder},
    {"--unregister-all", "", ProgramAction::kUnregisterAll, true, ""},
    {"--window", "", ProgramAction::kUnregisterAll, false, "", nullptr, &ProgramOptions::inWindow},
    {"--new", "", ProgramAction::kNew, true, "TEMPLATE", &ProgramOptions::templateName},
    {"--name", "", ProgramAction::kNew, false, "TEXT", &ProgramOptions::typedName},
    {"--in", "", ProgramAction::kNew, false, "FOLDER", &ProgramOptions::folder},
    {"--open", "", ProgramAction::kNew, false, "", nullptr, &ProgramOptions::open},
    {"--list", "", ProgramAction::kList, true, ""},
    {"--add", "", ProgramAction::kAdd, true, "FOLDER", &ProgramOptions::folder},
    {"--as", "", ProgramAction::kAdd, false, "NAME", &ProgramOptions::templateName},
    {"--main", "", ProgramAction::kAdd, false, "FILE", &ProgramOptions::mainFile},
    {"--auto-open", "", ProgramAction::kAdd, false, "", nullptr, &ProgramOptions::autoOpen},
    {"--fill", "", ProgramAction::kAdd, false, "", nullptr, &ProgramOptions::fill},
    {"--remove", "", ProgramAction::kRemove, true, "NAME", &ProgramOptions::templateName},
    {"--delete-folder", "", ProgramAction::kRemove, false, "", nullptr,
     &ProgramOptions::deleteFolder},
    {"--register", "", ProgramAction::kRegister, true, ""},
    {"--help", "-h", ProgramAction::kHelp, true, ""},
    {"--version", "-V", ProgramAction::kVersion, true, ""},
};

// Words that ask a Windows program for its usage, as its own commands answer them.
inline constexpr std::string_view kWindowsHelpWords[] = {"/?", "help"};
enum class HelpWords { kOptionsOnly, kWindows };

// Reads the arguments that follow the program's own path. A first argument that does not start
// with '-' is the launcher path, and whatever follows it is ignored, as it always was; otherwise
// it is a command of kCommandLineOptions with its own options. --help anywhere among the options
// asks for the help.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments,
                                   HelpWords helpWords = HelpWords::kOptionsOnly);

// What a command line answered without any window says, and how the program then ends.
struct TextReply {
  std::string standardOutput;
  std::string standardError;
  int exitCode = 0;
};

// The reply to --help, --version and a usage error; nullopt for the other actions.
// A usage error ends with this exit code, as shells and getopt use it, and with kTryHelp.
inline constexpr int kUsageExitCode = 2;
inline constexpr std::string_view kTryHelp = "Try 'trelik --help'.";

std::optional<TextReply> ReplyWithoutWindows(const ProgramOptions& options);

}  // namespace trelik
