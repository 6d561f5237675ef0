#pragma once

#include <string>
#include <vector>

#include "creation/program_options.h"
#include "library/ini_file.h"
#include "shell/shell_operations.h"

namespace trelik {

// What --list and --new work with: the data folder (ending in the platform's separator), its
// settings, and the shell.
struct ScriptServices {
  ShellOperations& shell;
  const TIniFile& settings;
  std::string appDir;
};

// --list: one template a line, "name<TAB>main file<TAB>" and the auto-open section's name, the last
// two empty when not recorded.
TextReply ListTemplates(const ScriptServices& services);

// The reply to a command naming a template that is not in `templates`: exit code 2, and the
// known ones are listed.
TextReply UnknownTemplate(const std::string& name, const std::vector<std::string>& templates);

// --new: the new project's folder on standard output and exit code 0; notices on standard
// error; exit code 1 when nothing was made, 2 for a template that is not in the list (the
// known ones are listed).
TextReply CreateFromScript(const ProgramOptions& options, const ScriptServices& services);

}  // namespace trelik
