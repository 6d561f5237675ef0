#include "shell/file_type_registration.h"

#include <algorithm>
#include <vector>

#include "common/ascii_case.h"
#include "common/error.h"
#include "shell/registry_tree.h"

namespace trelik {
namespace {

// The registry's word on why a write failed, when it has one, follows on a line of its own; it
// is read before anything else touches the registry.
Error WriteFailure(const Registry& registry, const std::string& valueName) {
  std::string message = "Failed to set data for '";
  message.append(valueName).append("'");
  if (const std::string cause = registry.LastFailure(); !cause.empty()) {
    message.append("\n").append(cause);
  }
  return Error(message);
}

RegistryKey OpenOrCreateKey(Registry& registry, const std::string& path) {
  const RegistryKey existing = registry.OpenKey(RegistryKey::kRoot, path);
  return existing != RegistryKey::kNone ? existing : registry.CreateKey(path);
}

struct ValueToWrite {
  std::string keyPath;
  std::string valueName;
  std::string data;
};

// Registration runs at every start, so each value is read first and written only when it
// differs, and its key is created only when missing. True when it was written; a refused write
// throws the registration's error.
bool WriteValue(Registry& registry, const ValueToWrite& value) {
  const OpenedKey key(registry, OpenOrCreateKey(registry, value.keyPath));
  if (key && registry.ReadString(key.Get(), value.valueName) == value.data) return false;
  if (!key || !registry.SetString(key.Get(), value.valueName, value.data)) {
    throw WriteFailure(registry, value.valueName);
  }
  return true;
}

// Subkeys go first, from the highest index down, so that the indices still to be read stay
// valid while subkeys disappear. A key that cannot be deleted simply stays. True when anything
// was deleted.
bool DeleteKeyWithTree(Registry& registry, RegistryKey parent, const std::string& name) {
  bool deleted = false;
  {
    const OpenedKey key(registry, registry.OpenKey(parent, name));
    const auto info = key ? registry.QuerySubkeys(key.Get()) : std::nullopt;
    for (std::size_t index = info ? info->count : 0; index-- > 0;) {
      if (const auto subkey = registry.EnumSubkey(key.Get(), index, info->longestNameLength + 1)) {
        deleted = DeleteKeyWithTree(registry, key.Get(), *subkey) || deleted;
      }
    }
  }
  return registry.DeleteKey(parent, name) || deleted;
}

}  // namespace

bool RegisterFileType(const RegistrationContext& context, const std::string& extension,
                      const std::string& typeName, bool withShellNew) {
  Registry& registry = context.registry;
  std::string command = "\"";
  command.append(context.executablePath).append("\" \"%1\"");
  std::vector<ValueToWrite> values = {{extension, "", typeName}};
  if (withShellNew) values.push_back({extension + "\\ShellNew", "NullFile", ""});
  values.insert(values.end(), {{typeName, "", typeName},
                               {typeName + "\\DefaultIcon", "", context.executablePath + ",0"},
                               {typeName + "\\Shell\\Open", "", "&Open"},
                               {typeName + "\\Shell\\Open\\Command", "", command}});
  // A commit that fails is reported for the first value written: the values before it were
  // already there.
  const ValueToWrite* firstWritten = nullptr;
  for (const auto& value : values) {
    try {
      if (WriteValue(registry, value) && firstWritten == nullptr) firstWritten = &value;
    } catch (const Error&) {
      // What was written before the refused value stays.
      static_cast<void>(registry.Commit());
      throw;
    }
  }
  if (firstWritten == nullptr) return false;
  if (!registry.Commit()) throw WriteFailure(registry, firstWritten->valueName);
  context.notifyAssociationsChanged();
  return true;
}

bool UnregisterFileType(const RegistrationContext& context, const std::string& extensionSuffix,
                        const std::string& typeSuffix) {
  std::string extensionKey = ".trelik_";
  std::string typeKey = "trelik_";
  Registry& registry = context.registry;
  const bool extensionDeleted =
      DeleteKeyWithTree(registry, RegistryKey::kRoot, extensionKey.append(extensionSuffix));
  const bool typeDeleted =
      DeleteKeyWithTree(registry, RegistryKey::kRoot, typeKey.append(typeSuffix));
  if (!(extensionDeleted || typeDeleted) || !registry.Commit()) return false;
  context.notifyAssociationsChanged();
  return true;
}

FileTypeRemoval UnregisterAllFileTypes(const RegistrationContext& context,
                                       const std::vector<std::string>& listedTemplates) {
  Registry& registry = context.registry;
  std::vector<std::string> keys = {".trelik", "Trelik"};
  for (const auto& name : listedTemplates) {
    keys.push_back(".trelik_" + name);
    keys.push_back("trelik_" + name);
  }
  for (const auto& name : ListSubkeys(registry, RegistryKey::kRoot)) {
    const std::string lowercase = AsciiLowercase(name);
    if (lowercase.starts_with(".trelik_") || lowercase.starts_with("trelik_")) {
      keys.push_back(name);
    }
  }
  FileTypeRemoval removal;
  std::vector<std::string> seen;
  for (const auto& key : keys) {
    if (std::ranges::any_of(seen, [&](const auto& s) { return SameRegistryName(s, key); })) {
      continue;
    }
    seen.push_back(key);
    if (!OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, key))) continue;
    static_cast<void>(DeleteKeyWithTree(registry, RegistryKey::kRoot, key));
    if (OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, key))) {
      if (removal.failure.empty()) removal.failure = registry.LastFailure();
      removal.leftBehind.push_back(key);
    } else {
      removal.removed.push_back(key);
    }
  }
  if (removal.removed.empty()) return removal;
  if (!registry.Commit()) {
    // The store undid every deletion.
    removal.failure = registry.LastFailure();
    removal.leftBehind.insert(removal.leftBehind.begin(), removal.removed.begin(),
                              removal.removed.end());
    removal.removed.clear();
    return removal;
  }
  context.notifyAssociationsChanged();
  return removal;
}

}  // namespace trelik
