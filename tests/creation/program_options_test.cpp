#include "creation/program_options.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

namespace trelik {
namespace {

// The usage lines: what --help starts with and every usage error ends with.
std::string Usage() {
  const std::string help = ReplyWithoutWindows({.action = ProgramAction::kHelp})->standardOutput;
  return help.substr(0, help.find("\n\n") + 1);
}

// Every "--option" that `text` names; with `described`, only those that start a line of it.
std::set<std::string> OptionsNamedIn(std::string_view text, bool described = false) {
  std::set<std::string> named;
  for (std::size_t at = text.find("--"); at != std::string_view::npos; at = text.find("--", at)) {
    const std::size_t end = text.find_first_not_of("abcdefghijklmnopqrstuvwxyz-", at + 2);
    const std::size_t lineStart = text.rfind('\n', at) + 1;
    const bool startsLine = text.find_first_not_of(' ', lineStart) == at;
    if (!described || startsLine) named.emplace(text.substr(at, end - at));
    at = end;
  }
  return named;
}

// A forgotten option is caught both ways: one the parser takes but the usage or the help leaves
// out, and one they name that the parser does not take.
TEST(ProgramOptions, UsageAndHelpNameEveryOptionTheParserTakes) {
  std::set<std::string> taken = {std::string(kNewOption)};
  for (const LoneOption& option : kLoneOptions) taken.emplace(option.name);
  for (const std::string_view option : kNewOptions) taken.emplace(option);
  const std::string help = ReplyWithoutWindows({.action = ProgramAction::kHelp})->standardOutput;
  EXPECT_EQ(OptionsNamedIn(Usage()), taken);
  EXPECT_EQ(OptionsNamedIn(help, true), taken);
  EXPECT_EQ(OptionsNamedIn(help), taken);
}

struct OptionsCase {
  std::vector<std::string> arguments;
  ProgramAction action;
  std::string launcherPath;
  std::string standardOutputStart;  // empty: nothing written there
  std::string standardError;
  int exitCode = 0;
};

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
      {{"--list", "Web"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: --list takes no argument: 'Web'\n") + Usage(),
       2},
      {{"--Editor"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: unknown option '--Editor'\n") + Usage(),
       2},
      {{"-"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: unknown option '-'\n") + Usage(),
       2},
      {{"--editor", "x.trelik_Web"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: --editor takes no argument: 'x.trelik_Web'\n") + Usage(),
       2},
  };
  for (const auto& c : cases) {
    const std::string trace = c.arguments.empty() ? "(none)" : c.arguments[0];
    SCOPED_TRACE(trace);
    const ProgramOptions options = ParseProgramOptions(c.arguments);
    EXPECT_EQ(options.action, c.action);
    EXPECT_EQ(options.launcherPath, c.launcherPath);
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

TEST(ProgramOptions, ReadsNewWithItsOwnOptionsInAnyOrder) {
  const auto error = [](const std::string& text) {
    return ProgramOptions{.action = ProgramAction::kUsageError, .error = "trelik: " + text};
  };
  const NewCase cases[] = {
      {{"--new", "Web"}, {.action = ProgramAction::kNew, .templateName = "Web"}},
      {{"--new", "Web", "--open", "--in", "/tmp/x y", "--name", "Shop\\home"},
       {.action = ProgramAction::kNew,
        .templateName = "Web",
        .typedName = "Shop\\home",
        .folder = "/tmp/x y",
        .open = true}},
      // A name may start with a dash or look like an option: it is the value all the same.
      {{"--new", "Web", "--name", "--open"},
       {.action = ProgramAction::kNew, .templateName = "Web", .typedName = "--open"}},
      {{"--new"}, error("--new needs the name of a template")},
      {{"--new", "--name", "x"}, error("--new needs the name of a template")},
      {{"--new", "Web", "--name"}, error("--name needs a value")},
      {{"--new", "Web", "--in", "a", "--in", "b"}, error("--in is given twice")},
      {{"--new", "Web", "--open", "--open"}, error("--open is given twice")},
      {{"--new", "Web", "Shop"}, error("unknown option 'Shop'")},
      {{"--new", "Web", "--list"}, error("unknown option '--list'")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const ProgramOptions options = ParseProgramOptions(c.arguments);
    EXPECT_EQ(options.action, c.expected.action);
    EXPECT_EQ(options.error, c.expected.error);
    if (options.action != ProgramAction::kNew) continue;
    EXPECT_EQ(options.templateName, c.expected.templateName);
    EXPECT_EQ(options.typedName, c.expected.typedName);
    EXPECT_EQ(options.folder, c.expected.folder);
    EXPECT_EQ(options.open, c.expected.open);
  }
}

}  // namespace
}  // namespace trelik
