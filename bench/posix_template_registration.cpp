#include <filesystem>

#include "shell/file_type_registration.h"
#include "shell/memory_registry.h"
#include "shell/posix/desktop_integration.h"
#include "shell/posix/registry_store.h"
#include "template_registration.h"

namespace trelik::bench {

// HOME and XDG_DATA_HOME name the home.
std::string LibraryFolder(const std::string&) {
  return XdgFoldersFromEnvironment().dataHome + "/trelik/";
}

// The file-type store, then the desktop files generated from it once at the end; the result is
// the same as after each registration.
std::string RegisterTemplateTypes(const std::string& executable,
                                  const std::vector<std::string>& names) {
  const DesktopFolders desktop = XdgFoldersFromEnvironment();
  const std::string storePath = LibraryFolder(executable) + "filetypes.reg";
  {
    RegistryStore store(storePath);
    const RegistrationContext context{store, executable, [] {}};
    // As one registration: one store write, not one per template.
    std::vector<FileTypeToRegister> types{{".trelik", "Trelik", false}};
    for (const auto& name : names) types.push_back({".trelik_" + name, "trelik_" + name, true});
    RegisterFileTypes(context, types);
  }
  MemoryRegistry fileTypes(ReadRegistryStore(storePath));
  const std::string icon = std::filesystem::path(executable).parent_path() / "trelik.png";
  return RegenerateDesktopIntegration(fileTypes, desktop, executable, icon).failure;
}

}  // namespace trelik::bench
