#include "creation/program_options.h"

namespace trelik {
namespace {

constexpr const char* kUsage =
    "Usage: trelik [LAUNCHER | --editor | --unregister-all | --help | --version]\n";

constexpr const char* kHelp =
    "\n"
    "Creates a project from a template: the shell starts Trelik on a launcher file that its\n"
    "New menu made, and Trelik asks for the project's name. Without arguments it shows the\n"
    "same window, from which the template editor is reached.\n"
    "\n"
    "  --editor          show the template editor instead; closing it ends the program\n"
    "  --unregister-all  remove every file type and New-menu entry that Trelik registered,\n"
    "                    and say what was removed; the templates and settings stay\n"
    "  --help            show this text\n"
    "  --version         show the program's version\n";

// The exit code of a command line that cannot be understood, as shells and getopt use it.
constexpr int kUsageExitCode = 2;

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  if (arguments.empty() || !arguments[0].starts_with('-')) {
    return {.launcherPath = arguments.empty() ? std::string() : arguments[0]};
  }
  const std::string& option = arguments[0];
  if (arguments.size() > 1) {
    return {.action = ProgramAction::kUsageError,
            .error = "trelik: " + option + " takes no argument: '" + arguments[1] + "'"};
  }
  if (option == "--editor") return {.action = ProgramAction::kEditor};
  if (option == "--unregister-all") return {.action = ProgramAction::kUnregisterAll};
  if (option == "--help") return {.action = ProgramAction::kHelp};
  if (option == "--version") return {.action = ProgramAction::kVersion};
  return {.action = ProgramAction::kUsageError, .error = "trelik: unknown option '" + option + "'"};
}

std::optional<TextReply> ReplyWithoutWindows(const ProgramOptions& options) {
  switch (options.action) {
    case ProgramAction::kHelp:
      return TextReply{.standardOutput = std::string(kUsage) + kHelp};
    case ProgramAction::kVersion:
      return TextReply{.standardOutput = "Trelik " TRELIK_VERSION "\n"};
    case ProgramAction::kUsageError:
      return TextReply{.standardError = options.error + "\n" + kUsage, .exitCode = kUsageExitCode};
    default:
      return std::nullopt;
  }
}

}  // namespace trelik
