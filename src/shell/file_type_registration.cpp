#include "shell/file_type_registration.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/ascii_case.h"
#include "common/error.h"
#include "shell/registry_tree.h"
#include "shell/type_names.h"

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

std::string DefaultValue(Registry& registry, const std::string& keyPath) {
  const OpenedKey key(registry, registry.OpenKey(RegistryKey::kRoot, keyPath));
  return key ? registry.ReadString(key.Get(), "").value_or("") : "";
}

// The program a command starts: the quoted text at its start, or else its first word.
std::string_view CommandProgram(std::string_view command) {
  if (!command.starts_with('"')) return command.substr(0, command.find(' '));
  command.remove_prefix(1);
  return command.substr(0, command.find('"'));
}

// Whether the type's open command runs this program, or Trelik of another install as its
// executable's file name shows.
bool RunsTrelik(Registry& registry, const std::string& typeKey, std::string_view executablePath,
                const ExecutableNaming& naming) {
  const std::string command = DefaultValue(registry, typeKey + "\\Shell\\Open\\Command");
  const std::string_view program = CommandProgram(command);
  const auto same = [&naming](std::string_view a, std::string_view b) {
    return naming.caseSensitive ? a == b : EqualIgnoringAsciiCase(a, b);
  };
  return !program.empty() && (same(program, executablePath) ||
                              same(FileNamePart(program, naming.separators), naming.fileName));
}

}  // namespace

bool IsTrelikFileType(Registry& registry, const std::string& extension,
                      std::string_view executablePath, const ExecutableNaming& naming) {
  const std::string type = DefaultValue(registry, extension);
  return !type.empty() && RunsTrelik(registry, type, executablePath, naming);
}

bool RegisterFileType(const RegistrationContext& context, const std::string& extension,
                      const std::string& typeName, bool withShellNew) {
  return RegisterFileTypes(context, {{extension, typeName, withShellNew}});
}

bool RegisterFileTypes(const RegistrationContext& context,
                       const std::vector<FileTypeToRegister>& types) {
  Registry& registry = context.registry;
  const std::string command = "\"" + context.executablePath + "\" \"%1\"";
  std::vector<ValueToWrite> values;
  for (const auto& [extension, typeName, withShellNew] : types) {
    values.push_back({extension, "", typeName});
    if (withShellNew) values.push_back({extension + kNewMenuSubkey, "NullFile", ""});
    values.insert(values.end(), {{typeName, "", typeName},
                                 {typeName + "\\DefaultIcon", "", context.executablePath + ",0"},
                                 {typeName + "\\Shell\\Open", "", "&Open"},
                                 {typeName + "\\Shell\\Open\\Command", "", command}});
  }
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
  Registry& registry = context.registry;
  const bool extensionDeleted =
      DeleteKeyWithTree(registry, RegistryKey::kRoot, TemplateExtension(extensionSuffix));
  const bool typeDeleted =
      DeleteKeyWithTree(registry, RegistryKey::kRoot, TemplateTypeName(typeSuffix));
  if (!(extensionDeleted || typeDeleted) || !registry.Commit()) return false;
  context.notifyAssociationsChanged();
  return true;
}

FileTypeRemoval UnregisterAllFileTypes(const RegistrationContext& context,
                                       const std::vector<std::string>& listedTemplates,
                                       const ExecutableNaming& naming) {
  Registry& registry = context.registry;
  std::vector<std::string> named = {".trelik", "Trelik"};
  for (const auto& name : listedTemplates) {
    named.push_back(TemplateExtension(name));
    named.push_back(TemplateTypeName(name));
  }
  for (const auto& name : ListSubkeys(registry, RegistryKey::kRoot)) {
    const std::string lowercase = AsciiLowercase(name);
    if (lowercase.starts_with(kTemplateExtensionStart) ||
        lowercase.starts_with(kTemplateTypeStart)) {
      named.push_back(name);
    }
  }
  // Names are compared in lower case, as the registry compares them.
  std::vector<std::string> candidates;
  std::unordered_set<std::string> seen;
  for (const auto& key : named) {
    if (seen.insert(AsciiLowercase(key)).second &&
        OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, key))) {
      candidates.push_back(key);
    }
  }
  // Every key is judged before any goes: an extension is known by the type it names.
  std::unordered_set<std::string> types;
  for (const auto& key : candidates) {
    if (!key.starts_with('.') && RunsTrelik(registry, key, context.executablePath, naming)) {
      types.insert(AsciiLowercase(key));
    }
  }
  const auto isTrelikType = [&types](std::string_view name) {
    return types.contains(AsciiLowercase(name));
  };

  FileTypeRemoval removal;
  // From the last key down, as they mostly stand in the registry: removing a key then moves few
  // others, and a library of any size is removed in time linear in its size. The findings keep
  // the keys' order, and the failure named is the first key's.
  for (auto at = candidates.rbegin(); at != candidates.rend(); ++at) {
    const std::string& key = *at;
    if (!isTrelikType(key.starts_with('.') ? DefaultValue(registry, key) : key)) {
      removal.foreign.push_back(key);
      continue;
    }
    static_cast<void>(DeleteKeyWithTree(registry, RegistryKey::kRoot, key));
    if (OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, key))) {
      removal.failure = registry.LastFailure();
      removal.leftBehind.push_back(key);
    } else {
      removal.removed.push_back(key);
    }
  }
  for (auto* keys : {&removal.foreign, &removal.leftBehind, &removal.removed}) {
    std::reverse(keys->begin(), keys->end());
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
