#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shell/registry.h"
#include "shell/registry_tree.h"

namespace trelik {

// A registry held in memory, with the Windows registry's rules. Tests use it directly; the Linux
// file-type store builds on it.
class MemoryRegistry : public Registry {
 public:
  MemoryRegistry() = default;
  // Starts with a copy of content read elsewhere; changes stay in memory.
  explicit MemoryRegistry(RegistryNode root);

  RegistryKey CreateKey(const std::string& path) override;
  RegistryKey OpenKey(RegistryKey parent, const std::string& path) override;
  void CloseKey(RegistryKey key) override;
  bool SetString(RegistryKey key, const std::string& valueName, const std::string& data) override;
  std::optional<std::string> ReadString(RegistryKey key, const std::string& valueName) override;
  std::optional<SubkeyInfo> QuerySubkeys(RegistryKey key) override;
  std::optional<std::string> EnumSubkey(RegistryKey key, std::size_t index,
                                        std::size_t bufferLength) override;
  bool DeleteKey(RegistryKey parent, const std::string& path) override;
  // Only a commit can say why it failed; the refusals below have no cause.
  std::string LastFailure() const override { return lastFailure_; }

  const RegistryNode& Root() const { return root_; }
  // Keys opened and not closed yet.
  std::size_t OpenKeyCount() const { return openKeys_.size(); }

  // From now on every value written to the key at `path` (below the root) is refused, as a
  // registry refuses a user without the right to write there.
  void RefuseWritesTo(const std::string& path);
  // From now on every creation, write and deletion is refused.
  void RefuseAllChanges() { refuseAllChanges_ = true; }

 protected:
  // Called with the new content after each change; returns nullopt when the change is kept,
  // else why it cannot be, and the change is then undone and the operation fails.
  using CommitChange = std::function<std::optional<std::string>(const RegistryNode& root)>;
  MemoryRegistry(RegistryNode root, CommitChange commitChange);

 private:
  using KeyPath = std::vector<std::string>;

  // The key that an open handle stands for, followed by `path`; nullopt when `key` is not open
  // or `path` is not a valid key path.
  std::optional<KeyPath> Join(RegistryKey key, const std::string& path) const;
  RegistryNode* Find(const KeyPath& path);
  RegistryKey Open(KeyPath path);
  // Applies `change` to the content and commits it; undone when the change or the commit fails.
  bool Change(const std::function<bool()>& change);

  RegistryNode root_;
  CommitChange commitChange_;
  std::map<std::uintptr_t, KeyPath> openKeys_;
  std::uintptr_t nextHandle_ = static_cast<std::uintptr_t>(RegistryKey::kRoot) + 1;
  std::vector<KeyPath> refusedWrites_;
  bool refuseAllChanges_ = false;
  std::string lastFailure_;
};

}  // namespace trelik
