#pragma once

#include <string>

#include "shell/shell_operations.h"
#include "ui/program.h"

namespace trelik {

// What the windows do outside themselves, shared by all three so that none runs another's
// handlers: file types, the copy into the template store, and the actions that lead outside
// the program. The shell's windows belong to the main window for a copy and to the editor for
// the outside actions, whichever window asked.
class ProgramActions {
 public:
  explicit ProgramActions(Program& program) : program_(program) {}

  void RegisterFileType(const std::string& Extension, const std::string& TypeName,
                        bool WithShellNew);
  void UnregisterFileType(const std::string& ExtensionSuffix, const std::string& TypeSuffix);
  // Whether the template's extension with its New-menu entry and its type are registered.
  bool IsTemplateRegistered(const std::string& name);
  CopyResult CopyFolder(const std::string& Source, const std::string& DestDir);

  void OpenWebSite();
  void CheckVersion();
  void OpenHelp();

 private:
  NativeWindow EditorWindow() const;

  Program& program_;
};

}  // namespace trelik
