#pragma once

#include <string>

#include "shell/shell_operations.h"
#include "ui/program.h"

namespace trelik {

// What the windows do outside themselves, shared by all three so that none runs another's
// handlers: the base file type and the actions that lead outside the program. The shell's
// windows for the outside actions belong to the editor, whichever window asked.
class ProgramActions {
 public:
  explicit ProgramActions(Program& program) : program_(program) {}

  void RegisterFileType(const std::string& Extension, const std::string& TypeName,
                        bool WithShellNew);

  void OpenWebSite();
  void CheckVersion();
  void OpenHelp();

 private:
  NativeWindow EditorWindow() const;

  Program& program_;
};

}  // namespace trelik
