#include "shell/registry_tree.h"

#include <algorithm>
#include <utility>

#include "common/ascii_case.h"

namespace trelik {
namespace {

// Finds by name in the subkeys or the values of a node, const or not.
template <typename Items>
auto FindNamed(Items& items, std::string_view name) -> decltype(&*items.begin()) {
  const auto found = std::ranges::find_if(
      items, [&](const auto& item) { return SameRegistryName(item.name, name); });
  return found == items.end() ? nullptr : &*found;
}

constexpr std::size_t kPositionedFrom = 16;

// Key names are printable: a control character could not be written to a store file either.
bool IsValidKeyName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxRegistryNameLength &&
         std::ranges::none_of(name, [](char c) { return static_cast<unsigned char>(c) < 32; });
}

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
  return EqualIgnoringAsciiCase(a, b);
}

RegistryNode* RegistryNode::FindSubkey(std::string_view subkeyName) {
  return const_cast<RegistryNode*>(std::as_const(*this).FindSubkey(subkeyName));
}

const RegistryNode* RegistryNode::FindSubkey(std::string_view subkeyName) const {
  // A few subkeys are searched faster than hashed.
  if (subkeys.size() < kPositionedFrom) return FindNamed(subkeys, subkeyName);
  const std::string key = AsciiLowercase(subkeyName);
  auto found = positions.byName.find(key);
  if (found == positions.byName.end() || found->second >= positions.known) {
    for (; positions.known < subkeys.size(); ++positions.known) {
      positions.byName.insert_or_assign(AsciiLowercase(subkeys[positions.known].name),
                                        positions.known);
    }
    found = positions.byName.find(key);
  }
  // A removed subkey's name may still map to where it stood.
  if (found == positions.byName.end() || found->second >= subkeys.size() ||
      !SameRegistryName(subkeys[found->second].name, subkeyName)) {
    return nullptr;
  }
  return &subkeys[found->second];
}

bool RegistryNode::RemoveSubkey(std::string_view subkeyName) {
  const RegistryNode* subkey = FindSubkey(subkeyName);
  if (subkey == nullptr) return false;
  const auto at = static_cast<std::size_t>(subkey - subkeys.data());
  positions.byName.erase(AsciiLowercase(subkeyName));
  positions.known = std::min(positions.known, at);
  subkeys.erase(subkeys.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

RegistryNode& RegistryNode::ProvideSubkey(std::string_view subkeyName) {
  if (RegistryNode* existing = FindSubkey(subkeyName)) return *existing;
  return subkeys.emplace_back(RegistryNode{std::string(subkeyName), {}, {}});
}

const RegistryValue* RegistryNode::FindValue(std::string_view valueName) const {
  return FindNamed(values, valueName);
}

void RegistryNode::SetValue(std::string_view valueName, std::string_view data) {
  if (RegistryValue* existing = FindNamed(values, valueName)) {
    existing->data = data;
  } else {
    values.push_back({std::string(valueName), std::string(data)});
  }
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view name = path.substr(start, end - start);
    if (!IsValidKeyName(name)) return {};
    names.emplace_back(name);
    start = end + 1;
  }
  return names;
}

}  // namespace trelik
