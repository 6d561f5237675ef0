#pragma once

#include <string>
#include <system_error>

#include "shell/shell_operations.h"
#include "ui/program.h"
#include "ui/widgets.h"

namespace trelik {

// What the windows do outside themselves, shared by all three so that none runs another's
// handlers: the base file type and the actions that lead outside the program. The shell's
// windows for the outside actions belong to the editor, whichever window asked.
class ProgramActions {
 public:
  explicit ProgramActions(Program& program) : program_(program) {}

  void RegisterFileType(const std::string& Extension, const std::string& TypeName,
                        bool WithShellNew);

  // Each says in a notice of `asker`, the window the user asked in, what could not be opened.
  void OpenWebSite(const Form& asker);
  void CheckVersion(const Form& asker);
  void OpenHelp(const Form& asker);
  // F1: the help's page or "page#anchor" `topic` on the window the user is in.
  void OpenHelpAt(const Form& asker, const std::string& topic);

 private:
  NativeWindow EditorWindow() const;
  void Tell(const Form& asker, const std::string& what, const std::string& target,
            const std::error_code& failure, const char* remedy);

  Program& program_;
};

}  // namespace trelik
