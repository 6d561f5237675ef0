#include "creation/program_options.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

constexpr const char* kUsage =
    "Usage: trelik [LAUNCHER | --editor | --unregister-all | --help | --version]\n"
    "       trelik --new TEMPLATE [--name TEXT] [--in FOLDER] [--open]\n"
    "       trelik --list\n";

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
      {{"--version"}, ProgramAction::kVersion, "", "Trelik 1.0.0.47\n"},
      {{"--help"}, ProgramAction::kHelp, "", kUsage},
      {{"--list"}, ProgramAction::kList, ""},
      {{"--list", "Web"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: --list takes no argument: 'Web'\n") + kUsage,
       2},
      {{"--Editor"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: unknown option '--Editor'\n") + kUsage,
       2},
      {{"-"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: unknown option '-'\n") + kUsage,
       2},
      {{"--editor", "x.trelik_Web"},
       ProgramAction::kUsageError,
       "",
       "",
       std::string("trelik: --editor takes no argument: 'x.trelik_Web'\n") + kUsage,
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
