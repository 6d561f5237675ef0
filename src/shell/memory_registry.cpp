#include "shell/memory_registry.h"

#include <algorithm>

namespace trelik {

MemoryRegistry::MemoryRegistry(RegistryNode root) : root_(std::move(root)) {}

std::optional<MemoryRegistry::KeyPath> MemoryRegistry::Join(RegistryKey key,
                                                            const std::string& path) const {
  KeyPath joined;
  if (key != RegistryKey::kRoot) {
    const auto open = openKeys_.find(static_cast<std::uintptr_t>(key));
    if (open == openKeys_.end()) return std::nullopt;
    joined = open->second;
  }
  if (path.empty()) return joined;
  const KeyPath names = SplitKeyPath(path);
  if (names.empty()) return std::nullopt;
  joined.insert(joined.end(), names.begin(), names.end());
  return joined;
}

RegistryNode* MemoryRegistry::Find(const KeyPath& path) {
  RegistryNode* node = &root_;
  for (const auto& name : path) {
    node = node->FindSubkey(name);
    if (node == nullptr) return nullptr;
  }
  return node;
}

RegistryKey MemoryRegistry::Open(KeyPath path) {
  const std::uintptr_t handle = nextHandle_++;
  openKeys_.emplace(handle, std::move(path));
  return static_cast<RegistryKey>(handle);
}

bool MemoryRegistry::Change(const KeyPath& key, const RegistryValue* value,
                            const std::function<void()>& change) {
  if (auto refusal = RefuseChange(key, value)) {
    lastFailure_ = std::move(*refusal);
    return false;
  }
  // One copy per commit, not per change: what a failed commit goes back to.
  if (!committed_) committed_ = root_;
  change();
  return true;
}

bool MemoryRegistry::Commit() {
  lastFailure_.clear();
  if (!committed_) return true;
  auto failure = Save(root_);
  if (failure) {
    lastFailure_ = std::move(*failure);
    root_ = std::move(*committed_);
  }
  committed_.reset();
  return !failure;
}

RegistryKey MemoryRegistry::CreateKey(const std::string& path) {
  lastFailure_.clear();
  const auto names = Join(RegistryKey::kRoot, path);
  if (!names || names->empty()) return RegistryKey::kNone;
  if (Find(*names) != nullptr) return Open(*names);
  const bool created = Change(*names, nullptr, [&] {
    RegistryNode* node = &root_;
    for (const auto& name : *names) node = &node->ProvideSubkey(name);
  });
  return created ? Open(*names) : RegistryKey::kNone;
}

RegistryKey MemoryRegistry::OpenKey(RegistryKey parent, const std::string& path) {
  const auto names = Join(parent, path);
  if (!names || Find(*names) == nullptr) return RegistryKey::kNone;
  return Open(*names);
}

void MemoryRegistry::CloseKey(RegistryKey key) {
  openKeys_.erase(static_cast<std::uintptr_t>(key));
}

bool MemoryRegistry::SetString(RegistryKey key, const std::string& valueName,
                               const std::string& data) {
  lastFailure_.clear();
  const auto path = Join(key, "");
  if (!path) return false;
  RegistryNode* node = Find(*path);
  if (node == nullptr) return false;
  const RegistryValue value{valueName, data};
  return Change(*path, &value, [&] { node->SetValue(valueName, data); });
}

std::optional<std::string> MemoryRegistry::ReadString(RegistryKey key,
                                                      const std::string& valueName) {
  const auto path = Join(key, "");
  const RegistryNode* node = path ? Find(*path) : nullptr;
  const RegistryValue* value = node ? node->FindValue(valueName) : nullptr;
  if (value == nullptr) return std::nullopt;
  return value->data;
}

std::optional<SubkeyInfo> MemoryRegistry::QuerySubkeys(RegistryKey key) {
  const auto path = Join(key, "");
  const RegistryNode* node = path ? Find(*path) : nullptr;
  if (node == nullptr) return std::nullopt;
  SubkeyInfo info{node->subkeys.size(), 0};
  for (const auto& subkey : node->subkeys) {
    info.longestNameLength = std::max(info.longestNameLength, subkey.name.size());
  }
  return info;
}

std::optional<std::string> MemoryRegistry::EnumSubkey(RegistryKey key, std::size_t index,
                                                      std::size_t bufferLength) {
  const auto path = Join(key, "");
  const RegistryNode* node = path ? Find(*path) : nullptr;
  if (node == nullptr || index >= node->subkeys.size() ||
      node->subkeys[index].name.size() + 1 > bufferLength) {
    return std::nullopt;
  }
  return node->subkeys[index].name;
}

bool MemoryRegistry::DeleteKey(RegistryKey parent, const std::string& path) {
  lastFailure_.clear();
  if (path.empty()) return false;  // it would name the parent itself
  const auto names = Join(parent, path);
  if (!names) return false;
  const RegistryNode* node = Find(*names);
  if (node == nullptr || !node->subkeys.empty()) return false;
  return Change(*names, nullptr, [&] {
    Find(KeyPath(names->begin(), names->end() - 1))->RemoveSubkey(names->back());
  });
}

}  // namespace trelik
