#pragma once

#include <functional>
#include <memory>
#include <string>

#include "creation/program_options.h"
#include "library/ini_file.h"
#include "shell/registry.h"
#include "shell/shell_operations.h"

namespace trelik {

// What --add, --remove and --register work with: the library's folder (ending in the platform's
// separator), the settings, the shell and the file-type registry.
struct LibraryServices {
  ShellOperations& shell;
  TIniFile& settings;
  std::string libraryFolder;
  std::function<std::shared_ptr<Registry>()> openRegistry;
  std::string executablePath;
};

// --add: the new template's name on standard output and exit code 0; exit code 1, with nothing
// added, when the folder is refused as the editor refuses it or a step fails.
TextReply AddFromScript(const ProgramOptions& options, const LibraryServices& services);

// --remove: exit code 0 when removed, 1 when it failed, 2 for a template that is not listed.
TextReply RemoveFromScript(const ProgramOptions& options, const LibraryServices& services);

// --register: the listed templates get their missing file types; notices on standard error.
TextReply RegisterFromScript(const LibraryServices& services);

}  // namespace trelik
