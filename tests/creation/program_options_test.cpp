#include "creation/program_options.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace trelik {
namespace {

// The usage lines: what --help starts with.
std::string Usage() {
  const std::string help = ReplyWithoutWindows({.action = ProgramAction::kHelp})->standardOutput;
  return help.substr(0, help.find("\n\n") + 1);
}

// Every option that `text` names ("--name", "-h"); with `described`, only those in the option
// column that starts a line of it.
std::set<std::string> OptionsNamedIn(std::string_view text, bool described = false) {
  std::set<std::string> named;
  for (std::size_t at = text.find('-'); at != std::string_view::npos; at = text.find('-', at)) {
    const std::size_t end = text.find_first_not_of("abcdefghijklmnopqrstuvwxyzV-", at + 1);
    const std::size_t lineStart = text.rfind('\n', at) + 1;
    const std::size_t column = text.find_first_not_of(' ', lineStart);
    const bool inColumn = text[column] == '-' &&
                          text.substr(column, at - column).find("  ") == std::string_view::npos;
    const bool word =
        at == 0 || std::string_view(" [|").find(text[at - 1]) != std::string_view::npos;
    if (word && end > at + 1 && (!described || inColumn)) {
      named.emplace(text.substr(at, end - at));
    }
    at = end;
  }
  return named;
}

// A forgotten option is caught both ways: one the parser takes but the usage or the help leaves
// out, and one they name that the parser does not take.
TEST(ProgramOptions, UsageAndHelpNameEveryOptionTheParserTakes) {
  std::set<std::string> taken;
  for (const CommandLineOption& option : kCommandLineOptions) {
    taken.emplace(option.name);
    if (!option.shortName.empty()) taken.emplace(option.shortName);
  }
  const std::string help = ReplyWithoutWindows({.action = ProgramAction::kHelp})->standardOutput;
  EXPECT_EQ(OptionsNamedIn(Usage()), taken);
  EXPECT_EQ(OptionsNamedIn(help, true), taken);
}

struct OptionsCase {
  std::vector<std::string> arguments;
  ProgramAction action;
  std::string launcherPath;
  std::string standardOutputStart;  // empty: nothing written there
  std::string standardError;
  int exitCode = 0;
};

// A usage error: said on one line, then where to look.
OptionsCase Refused(std::vector<std::string> arguments, const std::string& line) {
  std::string error = "trelik: " + line + "\nTry 'trelik --help'.\n";
  return {std::move(arguments), ProgramAction::kUsageError, "", "", std::move(error), 2};
}

TEST(ProgramOptions, ReadsTheLauncherPathOrOneOption) {
  const OptionsCase cases[] = {
      {{}, ProgramAction::kRun, "", "", "", 0},
      {{"/home/u/My Work/New.trelik_Web"}, ProgramAction::kRun, "/home/u/My Work/New.trelik_Web"},
      // Only the first argument counts, as it always did: later ones are not options.
      {{"a.trelik_Web", "--editor"}, ProgramAction::kRun, "a.trelik_Web"},
      {{""}, ProgramAction::kRun, ""},
      {{"--editor"}, ProgramAction::kEditor, ""},
      {{"--unregister-all"}, ProgramAction::kUnregisterAll, ""},
      {{"--version"}, ProgramAction::kVersion, "", "Trelik " TRELIK_VERSION "\n"},
      {{"--help"}, ProgramAction::kHelp, "", Usage()},
      {{"--list"}, ProgramAction::kList, ""},
      {{"-V"}, ProgramAction::kVersion, "", "Trelik " TRELIK_VERSION "\n"},
      {{"-h"}, ProgramAction::kHelp, "", Usage()},
      // Help anywhere among the options, but not as an option's value.
      {{"--new", "Web", "--help"}, ProgramAction::kHelp, "", Usage()},
      {{"--list", "-h"}, ProgramAction::kHelp, "", Usage()},
      {{"/?"}, ProgramAction::kRun, "/?"},
      {{"help"}, ProgramAction::kRun, "help"},
      Refused({"--list", "Web"}, "--list takes no argument: 'Web'"),
      Refused({"--Editor"}, "unknown option '--Editor'"),
      Refused({"-"}, "unknown option '-'"),
      Refused({"--editor=x"}, "--editor takes no value"),
      Refused({"--open"}, "--open belongs after --new"),
      Refused({"--editor", "x.trelik_Web"}, "--editor takes no argument: 'x.trelik_Web'"),
  };
  for (const auto& c : cases) {
    const std::string trace = c.arguments.empty() ? "(none)" : c.arguments[0];
    SCOPED_TRACE(trace);
    const ProgramOptions options = ParseProgramOptions(c.arguments);
    EXPECT_EQ(options.action, c.action);
    EXPECT_EQ(options.launcherPath, c.launcherPath);
    // A Windows program also answers its own help words.
    const bool windowsHelp = c.launcherPath == "/?" || c.launcherPath == "help";
    EXPECT_EQ(ParseProgramOptions(c.arguments, HelpWords::kWindows).action,
              windowsHelp ? ProgramAction::kHelp : c.action);
    const auto reply = ReplyWithoutWindows(options);
    const bool repliesAlone = c.action == ProgramAction::kHelp ||
                              c.action == ProgramAction::kVersion ||
                              c.action == ProgramAction::kUsageError;
    ASSERT_EQ(reply.has_value(), repliesAlone);
    if (!reply) continue;
    EXPECT_TRUE(reply->standardOutput.starts_with(c.standardOutputStart));
    EXPECT_EQ(reply->standardOutput.empty(), c.standardOutputStart.empty());
    EXPECT_EQ(reply->standardError, c.standardError);
    EXPECT_EQ(reply->exitCode, c.exitCode);
  }
}

struct NewCase {
  std::vector<std::string> arguments;
  ProgramOptions expected;  // for kUsageError, only the error is compared
};

TEST(ProgramOptions, ReadsACommandWithItsOwnOptionsInAnyOrder) {
  const auto error = [](const std::string& text) {
    return ProgramOptions{.action = ProgramAction::kUsageError, .error = "trelik: " + text};
  };
  const ProgramOptions shop = {.action = ProgramAction::kNew,
                               .templateName = "Web",
                               .typedName = "Shop\\home",
                               .folder = "/tmp/x y",
                               .open = true};
  const NewCase cases[] = {
      {{"--new", "Web"}, {.action = ProgramAction::kNew, .templateName = "Web"}},
      {{"--new", "Web", "--open", "--in", "/tmp/x y", "--name", "Shop\\home"}, shop},
      {{"--new", "--in=/tmp/x y", "--open", "--name=Shop\\home", "Web"}, shop},
      {{"--new=Web", "--name", "Shop\\home", "--open", "--in", "/tmp/x y"}, shop},
      {{"--new", "--open", "--in", "/tmp/x y", "--name", "Shop\\home", "--", "Web"}, shop},
      // A value may start with a dash, look like an option or hold '='.
      {{"--new", "Web", "--name", "--open"},
       {.action = ProgramAction::kNew, .templateName = "Web", .typedName = "--open"}},
      {{"--new", "Web", "--name=a=b", "--in="},
       {.action = ProgramAction::kNew, .templateName = "Web", .typedName = "a=b"}},
      {{"--new", "--", "-Web"}, {.action = ProgramAction::kNew, .templateName = "-Web"}},
      {{"--unregister-all", "--window"},
       {.action = ProgramAction::kUnregisterAll, .inWindow = true}},
      {{"--add", "--fill", "site", "--main=index.htm", "--as", "Web", "--auto-open"},
       {.action = ProgramAction::kAdd,
        .templateName = "Web",
        .folder = "site",
        .mainFile = "index.htm",
        .autoOpen = true,
        .fill = true}},
      {{"--remove", "Web", "--delete-folder"},
       {.action = ProgramAction::kRemove, .templateName = "Web", .deleteFolder = true}},
      {{"--add", "site", "--delete-folder"}, error("unknown option '--delete-folder' for --add")},
      {{"--remove"}, error("--remove needs NAME")},
      {{"--new"}, error("--new needs TEMPLATE")},
      {{"--new", "--name", "x"}, error("--new needs TEMPLATE")},
      {{"--new", "Web", "--name"}, error("--name needs TEXT")},
      {{"--new", "Web", "--in", "a", "--in=b"}, error("--in is given twice")},
      {{"--new", "Web", "--open", "--open"}, error("--open is given twice")},
      {{"--new", "Web", "--open=yes"}, error("--open takes no value")},
      {{"--new", "Web", "Shop"}, error("unexpected argument 'Shop'")},
      {{"--new", "Web", "--list"}, error("unknown option '--list' for --new")},
      {{"--new", "Web", "--window"}, error("unknown option '--window' for --new")},
      {{"--list", "--name=x"}, error("unknown option '--name' for --list")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const ProgramOptions options = ParseProgramOptions(c.arguments);
    EXPECT_EQ(options.action, c.expected.action);
    EXPECT_EQ(options.error, c.expected.error);
    if (options.action == ProgramAction::kUsageError) continue;
    EXPECT_EQ(options.templateName, c.expected.templateName);
    EXPECT_EQ(options.typedName, c.expected.typedName);
    EXPECT_EQ(options.folder, c.expected.folder);
    EXPECT_EQ(options.open, c.expected.open);
    EXPECT_EQ(options.inWindow, c.expected.inWindow);
    EXPECT_EQ(options.mainFile, c.expected.mainFile);
    EXPECT_EQ(options.autoOpen, c.expected.autoOpen);
    EXPECT_EQ(options.fill, c.expected.fill);
    EXPECT_EQ(options.deleteFolder, c.expected.deleteFolder);
  }
}

}  // namespace
}  // namespace trelik
