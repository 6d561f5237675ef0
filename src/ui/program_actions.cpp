#include "ui/program_actions.h"

#include "shell/file_type_registration.h"
#include "shell/type_names.h"
#include "ui/main_window.h"
#include "ui/site_address.h"
#include "ui/template_editor.h"

namespace trelik {
namespace {

RegistrationContext ContextFor(Program& program, Registry& registry) {
  return {registry, program.executablePath,
          [&program] { program.shell.NotifyAssociationsChanged(); }};
}

}  // namespace

// Each registration opens the registry anew, so that what another copy of the program
// registered meanwhile is seen and kept.
void ProgramActions::RegisterFileType(const std::string& Extension, const std::string& TypeName,
                                      bool WithShellNew) {
  const auto registry = program_.openRegistry();
  trelik::RegisterFileType(ContextFor(program_, *registry), Extension, TypeName, WithShellNew);
}

void ProgramActions::UnregisterFileType(const std::string& ExtensionSuffix,
                                        const std::string& TypeSuffix) {
  const auto registry = program_.openRegistry();
  trelik::UnregisterFileType(ContextFor(program_, *registry), ExtensionSuffix, TypeSuffix);
}

bool ProgramActions::IsTemplateRegistered(const std::string& name) {
  const auto registry = program_.openRegistry();
  const auto exists = [&registry](const std::string& path) {
    return static_cast<bool>(OpenedKey(*registry, registry->OpenKey(RegistryKey::kRoot, path)));
  };
  return exists(TemplateExtension(name) + kNewMenuSubkey) && exists(TemplateTypeName(name));
}

CopyResult ProgramActions::CopyFolder(const std::string& Source, const std::string& DestDir) {
  return program_.shell.CopyFolder(program_.Form1->Window().Handle(), Source, DestDir);
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
