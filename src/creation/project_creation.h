#pragma once

#include <functional>
#include <string>

#include "common/path_parts.h"
#include "library/ini_file.h"
#include "shell/shell_operations.h"

namespace trelik {

// The address that the copy-failure message asks users to write to.
inline constexpr const char* kSupportAddress = "support@trelik.example";

// What the main window holds when it closes.
struct CreationRequest {
  std::string launcherPath;
  std::string appDir;  // ends in the platform's separator
  std::string typedName;
  bool autoOpenChecked = false;
  NativeWindow owner = nullptr;
};

// What the sequence needs of the rest of the program.
struct CreationServices {
  ShellOperations& shell;
  const TIniFile& settings;
  std::function<void(const std::string&)> showMessage;
  const PathSeparators& separators;
};

// Copies the template named by the launcher next to it, renames the copy after the typed
// name, opens its main file when asked and deletes the launcher. Returns the template name;
// with an empty one nothing at all is done.
std::string CreateProject(const CreationRequest& request, const CreationServices& services);

}  // namespace trelik
