#include "app/run_command_line.h"

#include "app/library_commands.h"
#include "creation/script_commands.h"
#include "library/file_access.h"
#include "library/ini_file.h"
#include "library/library_files.h"
#include "library/library_folder.h"
#include "templates/template_library.h"

namespace trelik {

int RunCommandLine(const ProgramOptions& options, const CommandLinePlatform& platform) {
  const auto reply = [&platform](const TextReply& text) {
    platform.print(text);
    return text.exitCode;
  };
  if (const auto text = ReplyWithoutWindows(options)) return reply(*text);
  if (options.action == ProgramAction::kUnregisterAll) {
    const auto shell = platform.openShell();
    const TIniFile settings(platform.dataFolder + kSettingsFile);
    RemovalReport report =
        UnregisterAll(platform.openRegistry, *shell,
                      LibraryFolder(settings, platform.dataFolder) + kTemplateListFile,
                      platform.executablePath, platform.naming);
    if (platform.finishRemoval) platform.finishRemoval(report);
    const int exitCode = reply(FormatRemovalReport(report));
    if (options.inWindow && platform.showResult) {
      platform.showResult(RemovalNotice(report, platform.dataFolder), !report.failures.empty());
    }
    return exitCode;
  }
  if (options.action == ProgramAction::kList || options.action == ProgramAction::kNew) {
    const auto shell = platform.openShell();
    TIniFile settings(platform.dataFolder + kSettingsFile);
    const std::string folder = LibraryFolder(settings, platform.dataFolder);
    // A library that is away lists nothing and makes nothing: it is named instead.
    const TemplateLibrary library(folder, settings, *shell, platform.openRegistry,
                                  platform.executablePath);
    if (const auto missing = library.MissingNotice()) {
      return reply({.standardError = "trelik: " + *missing + "\n", .exitCode = 1});
    }
    const ScriptServices services{*shell, settings, folder};
    return reply(options.action == ProgramAction::kList ? ListTemplates(services)
                                                        : CreateFromScript(options, services));
  }
  if (options.action == ProgramAction::kAdd || options.action == ProgramAction::kRemove ||
      options.action == ProgramAction::kRegister) {
    const auto shell =
        platform.openRegisteringShell ? platform.openRegisteringShell() : platform.openShell();
    TIniFile settings(platform.dataFolder + kSettingsFile);
    const LibraryServices services{*shell, settings, LibraryFolder(settings, platform.dataFolder),
                                   platform.openRegistry, platform.executablePath};
    switch (options.action) {
      case ProgramAction::kAdd:
        return reply(AddFromScript(options, services));
      case ProgramAction::kRemove:
        return reply(RemoveFromScript(options, services));
      default:
        return reply(RegisterFromScript(services));
    }
  }
  platform.runWindows();
  return 0;
}

Program MakeProgram(Application& application, ShellOperations& shell, const ProgramOptions& options,
                    const CommandLinePlatform& platform, const std::string& helpFile) {
  return {
      .application = application,
      .shell = shell,
      .openRegistry = platform.openRegistry,
      .executablePath = platform.executablePath,
      .launcherPath = options.launcherPath,
      .editorOnly = options.action == ProgramAction::kEditor,
      .offerFolderAction = platform.offerFolderAction,
      .templateFolder = options.templateFolder.empty() ? "" : AbsolutePath(options.templateFolder),
      .dataFolder = platform.dataFolder,
      .helpFile = helpFile};
}

}  // namespace trelik
