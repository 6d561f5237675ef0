#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "creation/program_options.h"
#include "shell/file_type_registration.h"
#include "shell/registry.h"
#include "shell/shell_operations.h"

namespace trelik {

// What --unregister-all removed, and what it could not.
struct RemovalReport {
  std::vector<std::string> removed;    // each as "Removed " completes it
  std::vector<std::string> failures;   // each a sentence naming what stays and why
  std::vector<std::string> leftAlone;  // entries named or recorded as Trelik's that are not
};

// Removes every file type that Trelik registered (UnregisterAllFileTypes), taking the template
// names from the list file at `listPath` as well as from the registry itself, and tells the shell
// through `shell`. Types whose command runs neither `executablePath` nor another executable named
// as `naming` says stay. The list file, the template store and the settings stay.
RemovalReport UnregisterAll(const std::function<std::shared_ptr<Registry>()>& openRegistry,
                            ShellOperations& shell, const std::string& listPath,
                            const std::string& executablePath, const ExecutableNaming& naming);

// The report as the program prints it: a line per thing removed and per entry left alone on
// standard output, a line per failure on standard error, and exit code 1 after any failure.
TextReply FormatRemovalReport(const RemovalReport& report);

// The report as a notice says it to a user who started the removal from a menu: what went, in
// one line, what could not and what was left alone, and then where the templates stay.
std::string RemovalNotice(const RemovalReport& report, const std::string& dataFolder);

}  // namespace trelik
