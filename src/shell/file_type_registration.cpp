#include "shell/file_type_registration.h"

#include "common/error.h"

namespace trelik {
namespace {

// Every key is created from the root and closed right after its one value is written. The
// registry's word on why a write failed, when it has one, follows on a line of its own; it is
// read before anything else touches the registry.
void WriteValue(Registry& registry, const std::string& keyPath, const std::string& valueName,
                const std::string& data) {
  const OpenedKey key(registry, registry.CreateKey(keyPath));
  if (!key || !registry.SetString(key.Get(), valueName, data)) {
    std::string message = "Failed to set data for '";
    message.append(valueName).append("'");
    if (const std::string cause = registry.LastFailure(); !cause.empty()) {
      message.append("\n").append(cause);
    }
    throw Error(message);
  }
}

// Subkeys go first, from the highest index down, so that the indices still to be read stay
// valid while subkeys disappear. A key that cannot be deleted simply stays.
void DeleteKeyWithTree(Registry& registry, RegistryKey parent, const std::string& name) {
  {
    const OpenedKey key(registry, registry.OpenKey(parent, name));
    const auto info = key ? registry.QuerySubkeys(key.Get()) : std::nullopt;
    for (std::size_t index = info ? info->count : 0; index-- > 0;) {
      if (const auto subkey = registry.EnumSubkey(key.Get(), index, info->longestNameLength + 1)) {
        DeleteKeyWithTree(registry, key.Get(), *subkey);
      }
    }
  }
  registry.DeleteKey(parent, name);
}

}  // namespace

void RegisterFileType(const RegistrationContext& context, const std::string& extension,
                      const std::string& typeName, bool withShellNew) {
  Registry& registry = context.registry;
  WriteValue(registry, extension, "", typeName);
  if (withShellNew) WriteValue(registry, extension + "\\ShellNew", "NullFile", "");
  WriteValue(registry, typeName, "", typeName);
  WriteValue(registry, typeName + "\\DefaultIcon", "", context.executablePath + ",0");
  WriteValue(registry, typeName + "\\Shell\\Open", "", "&Open");
  std::string command = "\"";
  command.append(context.executablePath).append("\" \"%1\"");
  WriteValue(registry, typeName + "\\Shell\\Open\\Command", "", command);
  context.notifyAssociationsChanged();
}

void UnregisterFileType(const RegistrationContext& context, const std::string& extensionSuffix,
                        const std::string& typeSuffix) {
  std::string extensionKey = ".trelik_";
  std::string typeKey = "trelik_";
  DeleteKeyWithTree(context.registry, RegistryKey::kRoot, extensionKey.append(extensionSuffix));
  DeleteKeyWithTree(context.registry, RegistryKey::kRoot, typeKey.append(typeSuffix));
  context.notifyAssociationsChanged();
}

}  // namespace trelik
