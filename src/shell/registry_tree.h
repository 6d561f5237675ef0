#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// Key and value names longer than this are refused, as by the Windows registry.
inline constexpr std::size_t kMaxRegistryNameLength = 255;

// Compares key or value names the way the registry does, without regard to (ASCII) case.
bool SameRegistryName(std::string_view a, std::string_view b);

struct RegistryValue {
  std::string name;  // empty for the default value
  std::string data;
};

// One key with its string values and subkeys, each in the order first written.
struct RegistryNode {
  std::string name;
  std::vector<RegistryValue> values;
  std::vector<RegistryNode> subkeys;

  RegistryNode* FindSubkey(std::string_view subkeyName);
  const RegistryNode* FindSubkey(std::string_view subkeyName) const;
  // The subkey of that name, added at the end when missing.
  RegistryNode& ProvideSubkey(std::string_view subkeyName);

  const RegistryValue* FindValue(std::string_view valueName) const;
  // Replaces the data of the value of that name (keeping its spelling) or adds the value.
  void SetValue(std::string_view valueName, std::string_view data);
};

// The names of a backslash-separated key path; empty when the path is empty or holds a name that
// is empty, overlong or holds a control character.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace trelik
