#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
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

// Where each subkey of a key stands, by its name in lower case, for look-ups among many subkeys
// (the root holds two per template) in constant time. It follows subkeys added at the end as
// they are looked up; a removal drops the positions from the removed one on.
struct SubkeyPositions {
  std::unordered_map<std::string, std::size_t> byName;
  std::size_t known = 0;  // subkeys [0, known) are in byName at their position
};

// One key with its string values and subkeys, each in the order first written. Subkeys are added
// at the end and removed only by RemoveSubkey.
struct RegistryNode {
  std::string name;
  std::vector<RegistryValue> values;
  std::vector<RegistryNode> subkeys;
  mutable SubkeyPositions positions = {};

  RegistryNode* FindSubkey(std::string_view subkeyName);
  const RegistryNode* FindSubkey(std::string_view subkeyName) const;
  // The subkey of that name, added at the end when missing.
  RegistryNode& ProvideSubkey(std::string_view subkeyName);
  // Removes the subkey of that name; false when there is none.
  bool RemoveSubkey(std::string_view subkeyName);

  const RegistryValue* FindValue(std::string_view valueName) const;
  // Replaces the data of the value of that name (keeping its spelling) or adds the value.
  void SetValue(std::string_view valueName, std::string_view data);
};

// The names of a backslash-separated key path; empty when the path is empty or holds a name that
// is empty, overlong or holds a control character.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace trelik
