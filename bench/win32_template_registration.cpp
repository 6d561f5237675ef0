#include "common/path_parts.h"
#include "shell/file_type_registration.h"
#include "shell/win32/win32_registry.h"
#include "template_registration.h"

namespace trelik::bench {

// trelik.exe keeps its library beside itself.
std::string LibraryFolder(const std::string& executable) {
  return DirectoryPart(executable, kWindowsSeparators);
}

// The per-user classes key, as one registration; the shell needs no notice here.
std::string RegisterTemplateTypes(const std::string& executable,
                                  const std::vector<std::string>& names) {
  Win32Registry registry;
  std::vector<FileTypeToRegister> types{{".trelik", "Trelik", false}};
  for (const auto& name : names) types.push_back({".trelik_" + name, "trelik_" + name, true});
  RegisterFileTypes({registry, executable, [] {}}, types);
  return {};
}

}  // namespace trelik::bench
