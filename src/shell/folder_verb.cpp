#include "shell/folder_verb.h"

#include "common/folder_action.h"

namespace trelik {

bool RegisterFolderVerb(Registry& registry, const std::string& executablePath) {
  const std::string command = "\"" + executablePath + "\" " + std::string(kEditorCommand) + " " +
                              std::string(kTemplateFromOption) + " \"%1\"";
  const OpenedKey verb(registry, registry.CreateKey(kFolderVerbKey));
  const OpenedKey run(registry, registry.CreateKey(std::string(kFolderVerbKey) + "\\command"));
  return verb && run && registry.SetString(verb.Get(), "", std::string(kFolderActionLabel)) &&
         registry.SetString(verb.Get(), "Icon", executablePath) &&
         registry.SetString(run.Get(), "", command) && registry.Commit();
}

VerbRemoval UnregisterFolderVerb(Registry& registry) {
  if (!OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, kFolderVerbKey))) {
    return VerbRemoval::kAbsent;
  }
  // A command key already gone is no failure: the verb itself is what counts.
  static_cast<void>(
      registry.DeleteKey(RegistryKey::kRoot, std::string(kFolderVerbKey) + "\\command"));
  return registry.DeleteKey(RegistryKey::kRoot, kFolderVerbKey) && registry.Commit()
             ? VerbRemoval::kRemoved
             : VerbRemoval::kFailed;
}

}  // namespace trelik
