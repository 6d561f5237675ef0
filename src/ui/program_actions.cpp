#include "ui/program_actions.h"

#include "shell/file_type_registration.h"
#include "ui/site_address.h"
#include "ui/template_editor.h"

namespace trelik {
// Each registration opens the registry anew, so that what another copy of the program
// registered meanwhile is seen and kept.
void ProgramActions::RegisterFileType(const std::string& Extension, const std::string& TypeName,
                                      bool WithShellNew) {
  const auto registry = program_.openRegistry();
  trelik::RegisterFileType(
      {*registry, program_.executablePath, [this] { program_.shell.NotifyAssociationsChanged(); }},
      Extension, TypeName, WithShellNew);
}

void ProgramActions::OpenWebSite() {
  program_.shell.ShellOpen(EditorWindow(), "open", HomePageAddress(), ShowCommand::kShow);
}

void ProgramActions::CheckVersion() {
  program_.shell.ShellOpen(EditorWindow(), "open", VersionCheckAddress(), ShowCommand::kShow);
}

void ProgramActions::OpenHelp() {
  program_.shell.ShellOpen(EditorWindow(), "", program_.helpFile, ShowCommand::kShowMaximized);
}

NativeWindow ProgramActions::EditorWindow() const { return program_.Form2->Window().Handle(); }

}  // namespace trelik
