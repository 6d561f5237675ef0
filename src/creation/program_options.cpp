#include "creation/program_options.h"

#include <algorithm>
#include <set>

#include "library/settings_sections.h"

namespace trelik {
namespace {

constexpr std::string_view kUsage =
    "Usage: trelik [LAUNCHER]\n"
    "       trelik --new TEMPLATE [--name TEXT] [--in FOLDER] [--open]\n"
    "       trelik --add FOLDER [--as NAME] [--main FILE] [--auto-open] [--fill]\n"
    "       trelik --remove NAME [--delete-folder]\n"
    "       trelik --unregister-all [--window]\n"
    "       trelik --editor [--template-from FOLDER]\n"
    "       trelik --list | --register | -h | --help | -V | --version\n";

std::string HelpText() {
  return std::string(kUsage) +
         "\n"
         "Creates a project from a template: the shell starts Trelik on a launcher file that its\n"
         "New menu made, and Trelik asks for the project's name. Without arguments it shows the\n"
         "same window, from which the template editor is reached.\n"
         "\n"
         "  --editor          show the template editor instead; closing it ends the program\n"
         "    --template-from FOLDER\n"
         "                    offer to make FOLDER a template, as the file manager's \"" +
         std::string(kFolderActionLabel) +
         "\"\n"
         "                    does\n"
         "  --new TEMPLATE    make a project from TEMPLATE as the window would, without it, and\n"
         "                    print the new project's folder; notices go to standard error\n"
         "    --name TEXT     the name as typed in the window: FOLDER/FILE, FOLDER/ or /FILE\n"
         "                    (a backslash separates as a slash does)\n"
         "    --in FOLDER     the folder the project goes into; the current folder by default\n"
         "    --open          open the project's main file afterwards\n"
         "  --list            list the templates, one a line: name, main file and \"" +
         std::string(kAutoOpenSection) +
         "\"\n"
         "                    when it is opened after creation, separated by tabs\n"
         "  --add FOLDER      copy FOLDER into the template store as a new template, register\n"
         "                    its file type, list it and print its name\n"
         "    --as NAME       the template's name; the folder's own name by default\n"
         "    --main FILE     record FILE, one of the folder's files, as its main file\n"
         "    --auto-open     open the main file after each creation\n"
         "    --fill          fill in names inside files\n"
         "  --remove NAME     remove the template NAME: its file type, settings and list line;\n"
         "                    its folder stays in the store\n"
         "    --delete-folder delete its folder from the store as well\n"
         "  --register        give every listed template whose folder is in the store its file\n"
         "                    type and New-menu entry, as the editor does when it is shown\n"
         "  --unregister-all  remove every file type and New-menu entry that Trelik registered,\n"
         "                    and say what was removed; the templates and settings stay\n"
         "    --window        show the result in a window as well, as the menu entry's\n"
         "                    \"Remove from this desktop\" does\n"
         "  -h, --help        show this text\n"
         "  -V, --version     show the program's version\n"
         "\n"
         "The options of a command follow it in any order. A value may also be joined to its\n"
         "option, as in --name=TEXT; after --, every argument is a value.\n";
}

ProgramOptions UsageError(std::string error) {
  return {.action = ProgramAction::kUsageError, .error = "trelik: " + std::move(error)};
}

const CommandLineOption* FindOption(std::string_view name) {
  const auto found = std::ranges::find_if(kCommandLineOptions, [name](const auto& option) {
    return option.name == name || (!option.shortName.empty() && option.shortName == name);
  });
  return found == std::ranges::end(kCommandLineOptions) ? nullptr : &*found;
}

// A command's options, its operand and "--" after it.
ProgramOptions ParseCommand(const CommandLineOption& command, std::string_view attached,
                            bool hasAttached, const std::vector<std::string>& arguments) {
  const std::string commandName(command.name);
  ProgramOptions options{.action = command.command};
  bool operandGiven = false;
  const auto takeOperand = [&](const std::string& operand) {
    if (command.valueName.empty()) {
      return std::optional(UsageError(commandName + " takes no argument: '" + operand + "'"));
    }
    if (operandGiven) return std::optional(UsageError("unexpected argument '" + operand + "'"));
    operandGiven = true;
    options.*command.value = operand;
    return std::optional<ProgramOptions>();
  };
  if (hasAttached) {
    if (const auto error = takeOperand(std::string(attached))) return *error;
  }
  std::set<const CommandLineOption*> given;
  bool onlyOperands = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (onlyOperands || argument.size() < 2 || !argument.starts_with('-')) {
      if (const auto error = takeOperand(argument)) return *error;
      continue;
    }
    if (argument == "--") {
      onlyOperands = true;
      continue;
    }
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
    const std::string name = argument.substr(0, equals);
    const CommandLineOption* option = FindOption(name);
    if (option != nullptr && option->command == ProgramAction::kHelp) {
      return {.action = ProgramAction::kHelp};
    }
    if (option == nullptr || option->isCommand || option->command != command.command) {
      return UsageError("unknown option '" + name + "' for " + commandName);
    }
    if (!given.insert(option).second) return UsageError(name + " is given twice");
    if (option->flag != nullptr) {
      if (equals != std::string::npos) return UsageError(name + " takes no value");
      options.*option->flag = true;
    } else if (equals != std::string::npos) {
      options.*option->value = argument.substr(equals + 1);
    } else if (++i < arguments.size()) {
      options.*option->value = arguments[i];
    } else {
      return UsageError(name + " needs " + std::string(option->valueName));
    }
  }
  if (!command.valueName.empty() && !operandGiven) {
    return UsageError(commandName + " needs " + std::string(command.valueName));
  }
  return options;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments, HelpWords helpWords) {
  if (arguments.empty()) return {};
  const std::string& first = arguments[0];
  if (helpWords == HelpWords::kWindows &&
      std::ranges::find(kWindowsHelpWords, first) != std::ranges::end(kWindowsHelpWords)) {
    return {.action = ProgramAction::kHelp};
  }
  if (!first.starts_with('-')) return {.launcherPath = first};
  const std::size_t equals = first.starts_with("--") ? first.find('=') : std::string::npos;
  const std::string name = first.substr(0, equals);
  const CommandLineOption* command = FindOption(name);
  if (command == nullptr) return UsageError("unknown option '" + name + "'");
  if (!command->isCommand) {
    const auto owner = std::ranges::find_if(kCommandLineOptions, [command](const auto& option) {
      return option.isCommand && option.command == command->command;
    });
    return UsageError(name + " belongs after " + std::string(owner->name));
  }
  const bool hasAttached = equals != std::string::npos;
  if (hasAttached && command->valueName.empty()) return UsageError(name + " takes no value");
  return ParseCommand(*command, hasAttached ? std::string_view(first).substr(equals + 1) : "",
                      hasAttached, arguments);
}

std::optional<TextReply> ReplyWithoutWindows(const ProgramOptions& options) {
  switch (options.action) {
    case ProgramAction::kHelp:
      return TextReply{.standardOutput = HelpText()};
    case ProgramAction::kVersion:
      return TextReply{.standardOutput = "Trelik " TRELIK_VERSION "\n"};
    case ProgramAction::kUsageError:
      return TextReply{.standardError = options.error + "\n" + std::string(kTryHelp) + "\n",
                       .exitCode = kUsageExitCode};
    default:
      return std::nullopt;
  }
}

}  // namespace trelik
