#include "ui/program_actions.h"

#include "common/notice.h"
#include "common/system_error.h"
#include "shell/file_type_registration.h"
#include "ui/site_address.h"
#include "ui/template_editor.h"

namespace trelik {
namespace {

// What the user can do when the shell cannot open what was asked for.
constexpr const char* kOpenHelpYourself =
    "Open the file yourself in a web browser or help viewer, or install one.";
constexpr const char* kOpenAddressYourself = "Copy the address into a web browser.";

}  // namespace

// Each registration opens the registry anew, so that what another copy of the program
// registered meanwhile is seen and kept.
void ProgramActions::RegisterFileType(const std::string& Extension, const std::string& TypeName,
                                      bool WithShellNew) {
  const auto registry = program_.openRegistry();
  trelik::RegisterFileType(
      {*registry, program_.executablePath, [this] { program_.shell.NotifyAssociationsChanged(); }},
      Extension, TypeName, WithShellNew);
}

void ProgramActions::OpenWebSite(const Form& asker) {
  const std::string address = HomePageAddress();
  Tell(asker, "The web page", address,
       program_.shell.ShellOpen(EditorWindow(), "open", address, ShowCommand::kShow),
       kOpenAddressYourself);
}

void ProgramActions::CheckVersion(const Form& asker) {
  const std::string address = VersionCheckAddress();
  Tell(asker, "The web page", address,
       program_.shell.ShellOpen(EditorWindow(), "open", address, ShowCommand::kShow),
       kOpenAddressYourself);
}

void ProgramActions::OpenHelp(const Form& asker) {
  Tell(asker, "The help", program_.helpFile,
       program_.shell.ShellOpen(EditorWindow(), "", program_.helpFile, ShowCommand::kShowMaximized),
       kOpenHelpYourself);
}

void ProgramActions::OpenHelpAt(const Form& asker, const std::string& topic) {
  Tell(asker, "The help", program_.helpFile,
       program_.shell.OpenHelpTopic(EditorWindow(), program_.helpFile, topic), kOpenHelpYourself);
}

void ProgramActions::Tell(const Form& asker, const std::string& what, const std::string& target,
                          const std::error_code& failure, const char* remedy) {
  if (!failure) return;
  program_.application.ShowMessage(
      &asker,
      WithNextStep(what + " \"" + target + "\" cannot be opened: " + SystemErrorText(failure) + ".",
                   remedy));
}

NativeWindow ProgramActions::EditorWindow() const { return program_.Form2().Window().Handle(); }

}  // namespace trelik
