#include "shell/registry_tree.h"

#include <algorithm>

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
  return FindNamed(subkeys, subkeyName);
}

const RegistryNode* RegistryNode::FindSubkey(std::string_view subkeyName) const {
  return FindNamed(subkeys, subkeyName);
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
