#include "creation/program_options.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace trelik {
namespace {

constexpr const char* kUsage =
    "Usage: trelik [LAUNCHER | --editor | --unregister-all | --help | --version]\n"
    "       trelik --new TEMPLATE [--name TEXT] [--in FOLDER] [--open]\n"
    "       trelik --list\n";

constexpr const char* kHelp =
    "\n"
    "Creates a project from a template: the shell starts Trelik on a launcher file that its\n"
    "New menu made, and Trelik asks for the project's name. Without arguments it shows the\n"
    "same window, from which the template editor is reached.\n"
    "\n"
    "  --editor          show the template editor instead; closing it ends the program\n"
    "  --unregister-all  remove every file type and New-menu entry that Trelik registered,\n"
    "                    and say what was removed; the templates and settings stay\n"
    "  --new TEMPLATE    make a project from TEMPLATE as the window would, without it, and\n"
    "                    print the new project's folder; notices go to standard error\n"
    "    --name TEXT     the name as typed in the window: FOLDER/FILE, FOLDER/ or /FILE\n"
    "                    (a backslash separates as a slash does)\n"
    "    --in FOLDER     the folder the project goes into; the current folder by default\n"
    "    --open          open the project's main file afterwards\n"
    "  --list            list the templates, one a line: name, main file and \"autoopen\"\n"
    "                    when it is opened after creation, separated by tabs\n"
    "  --help            show this text\n"
    "  --version         show the program's version\n";

ProgramOptions UsageError(std::string error) {
  return {.action = ProgramAction::kUsageError, .error = "trelik: " + std::move(error)};
}

// --new TEMPLATE followed by its own options, each at most once and in any order.
ProgramOptions ParseNew(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || arguments[1].starts_with("--")) {
    return UsageError("--new needs the name of a template");
  }
  ProgramOptions options{.action = ProgramAction::kNew, .templateName = arguments[1]};
  std::array<bool, std::size(kNewOptions)> given{};
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const auto known = std::ranges::find(kNewOptions, option);
    if (known == std::ranges::end(kNewOptions)) {
      return UsageError("unknown option '" + option + "'");
    }
    const auto which = static_cast<std::size_t>(known - std::ranges::begin(kNewOptions));
    if (given[which]) return UsageError(option + " is given twice");
    given[which] = true;
    if (which == kOpenOption) {
      options.open = true;
      continue;
    }
    if (++i == arguments.size()) return UsageError(option + " needs a value");
    (which == kNameOption ? options.typedName : options.folder) = arguments[i];
  }
  return options;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  if (arguments.empty() || !arguments[0].starts_with('-')) {
    return {.launcherPath = arguments.empty() ? std::string() : arguments[0]};
  }
  const std::string& option = arguments[0];
  if (option == kNewOption) return ParseNew(arguments);
  if (arguments.size() > 1) {
    return UsageError(option + " takes no argument: '" + arguments[1] + "'");
  }
  for (const LoneOption& lone : kLoneOptions) {
    if (option == lone.name) return {.action = lone.action};
  }
  return UsageError("unknown option '" + option + "'");
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
