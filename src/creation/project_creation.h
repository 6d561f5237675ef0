#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/path_parts.h"
#include "common/user_name.h"
#include "creation/creation_plan.h"
#include "library/ini_file.h"
#include "shell/shell_operations.h"

namespace trelik {

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
  std::function<void(const std::string&)> showMessage;  // the one difference of window and script
  const PathSeparators& separators;
  std::function<std::string()> userName = UserName;  // asked only when a template uses it
};

// What a script asks for: the template, the folder the project goes into (ending in the
// platform's separator), and the name as it would be typed.
struct ScriptRequest {
  std::string templateName;
  std::string folder;
  std::string appDir;  // ends in the platform's separator
  std::string typedName;
  bool open = false;
};

// What the window's creation is planned from, all but the typed name and the check box: the
// launcher's template and folder, what the settings record for the template, and the names that
// stand in the folder, listed once, now. The window reads it as it opens to say what each typed
// name will make; the creation reads it again as the window closes.
PlanInput LauncherPlanInput(const std::string& launcherPath, const CreationServices& services);

// The folder of the template `templateName` in the library at `appDir`, which is what a
// project of it is copied from.
std::string TemplateFolder(const std::string& appDir, const std::string& templateName,
                           const PathSeparators& separators);

// Runs the creation sequence for a script: a name that cannot be used, a folder name that is
// taken, or a file name with no main file to give it to stops it before anything is copied,
// and a rename that fails afterwards takes the copy away again. The project's folder, or
// nullopt when nothing was made; every notice goes to `showMessage`.
std::optional<std::string> CreateProjectForScript(const ScriptRequest& request,
                                                  const CreationServices& services);

// Copies the template named by the launcher next to it, renames the copy after the typed
// name, opens its main file when asked and deletes the launcher. Returns the template name;
// with an empty one nothing at all is done.
std::string CreateProject(const CreationRequest& request, const CreationServices& services);

}  // namespace trelik
