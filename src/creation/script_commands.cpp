#include "creation/script_commands.h"

#include <algorithm>
#include <vector>

#include "common/error.h"
#include "common/path_parts.h"
#include "common/system_error.h"
#include "creation/project_creation.h"
#include "library/file_access.h"
#include "library/flag_conversion.h"
#include "library/library_files.h"
#include "library/settings_sections.h"
#include "library/template_list.h"

namespace trelik {
namespace {

constexpr int kFailed = 1;
// A mistyped template's error names at most this many; the rest are counted.
constexpr std::size_t kTemplatesNamed = 20;

// The template list; a missing list file is an empty list.
std::vector<std::string> Templates(const ScriptServices& services) {
  std::vector<std::string> templates;
  LoadTemplateListIfAny(services.appDir + kTemplateListFile, templates);
  return templates;
}

}  // namespace

TextReply UnknownTemplate(const std::string& name, const std::vector<std::string>& templates) {
  std::string text = "trelik: there is no template \"" + name + "\"";
  if (templates.empty()) {
    text += "; no template has been added yet\n";
  } else {
    text += "; the templates are:\n";
    const std::size_t shown = std::min(templates.size(), kTemplatesNamed);
    for (std::size_t i = 0; i < shown; ++i) text.append("  ").append(templates[i]).append("\n");
    if (shown < templates.size()) {
      text.append("  \u2026 and " + std::to_string(templates.size() - shown) + " more\n");
    }
  }
  return {.standardError = text, .exitCode = kUsageExitCode};
}

TextReply ListTemplates(const ScriptServices& services) {
  TextReply reply;
  if (const auto problem = services.settings.ReadProblem()) {
    return {.standardError = "trelik: the settings file \"" + services.settings.Path() +
                             "\" cannot be read (" + *problem + ")\n",
            .exitCode = kFailed};
  }
  try {
    const std::vector<std::string> templates = Templates(services);
    // Each section read once: a library of any size is listed in time linear in its size.
    const IniSection mainFiles = services.settings.ReadSection(kMainFileSection);
    const IniSection autoOpen = services.settings.ReadSection(kAutoOpenSection);
    for (const auto& name : templates) {
      // The third column names the section that records the choice.
      reply.standardOutput.append(name + "\t" + mainFiles.Read(name, "") + "\t")
          .append(FlagFromText(autoOpen.Read(name, ""), false) ? kAutoOpenSection : "")
          .append("\n");
    }
  } catch (const Error& error) {
    return {.standardError = std::string("trelik: ") + error.what() + "\n", .exitCode = kFailed};
  }
  return reply;
}

TextReply CreateFromScript(const ProgramOptions& options, const ScriptServices& services) {
  const PathSeparators& separators = PlatformSeparators();
  TextReply reply;
  std::vector<std::string> templates;
  try {
    templates = Templates(services);
  } catch (const Error& error) {
    return {.standardError = std::string("trelik: ") + error.what() + "\n", .exitCode = kFailed};
  }
  if (std::find(templates.begin(), templates.end(), options.templateName) == templates.end()) {
    return UnknownTemplate(options.templateName, templates);
  }
  std::string folder = AbsolutePath(options.folder.empty() ? "." : options.folder);
  // Not every platform's absolute path drops a final "." of its own.
  if (folder.ends_with(std::string(1, separators.joiner) + ".")) folder.pop_back();
  folder = AsFolder(WithoutTrailingSeparators(folder, separators), separators);
  // A folder lists at least "." and ".."; a script's mistyped folder is not made.
  if (services.shell.ListFolder(folder + "*.*").empty()) {
    // A folder that is there but cannot be listed or reached is not called missing.
    const std::error_code why = services.shell.ReadFolderEntries(folder).failure;
    const std::string problem =
        !why || NamesNothing(why) ? "does not exist" : "cannot be opened: " + SystemErrorText(why);
    return {.standardError = "trelik: the folder \"" + options.folder + "\" " + problem + "\n",
            .exitCode = kFailed};
  }
  const CreationServices creation{
      services.shell, services.settings,
      [&reply](const std::string& text) { reply.standardError += "trelik: " + text + "\n"; },
      separators};
  const auto project = CreateProjectForScript({.templateName = options.templateName,
                                               .folder = folder,
                                               .appDir = services.appDir,
                                               .typedName = options.typedName,
                                               .open = options.open},
                                              creation);
  if (!project) {
    reply.exitCode = kFailed;
    return reply;
  }
  reply.standardOutput = *project + "\n";
  return reply;
}

}  // namespace trelik
