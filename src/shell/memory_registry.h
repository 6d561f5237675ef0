#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
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
  // Keeps the changes since the last commit through Save(), when there are any.
  bool Commit() override;
  // Only a subclass can say why a change failed.
  std::string LastFailure() const override { return lastFailure_; }

  const RegistryNode& Root() const { return root_; }
  // Keys opened and not closed yet.
  std::size_t OpenKeyCount() const { return openKeys_.size(); }

 protected:
  // Why a change cannot be made: nullopt when it can, an empty text for a refusal without a
  // cause. `key` names the key changed (its names below the root); `value` is the value about to
  // be written, null for a key created or deleted.
  virtual std::optional<std::string> RefuseChange(const std::vector<std::string>& /*key*/,
                                                  const RegistryValue* /*value*/) const {
    return std::nullopt;
  }
  // Keeps `root`, the content after the changes since the last commit: nullopt when kept, else
  // why not. In memory there is nothing more to do.
  virtual std::optional<std::string> Save(const RegistryNode& /*root*/) { return std::nullopt; }

 private:
  using KeyPath = std::vector<std::string>;

  // The key that an open handle stands for, followed by `path`; nullopt when `key` is not open
  // or `path` is not a valid key path.
  std::optional<KeyPath> Join(RegistryKey key, const std::string& path) const;
  RegistryNode* Find(const KeyPath& path);
  RegistryKey Open(KeyPath path);
  // Applies `change` to the content, unless the change is refused; `key` and `value` as for
  // RefuseChange.
  bool Change(const KeyPath& key, const RegistryValue* value, const std::function<void()>& change);

  RegistryNode root_;
  // The content as last committed, kept from the first change after a commit until the next
  // commit; nullopt while nothing changed.
  std::optional<RegistryNode> committed_;
  std::map<std::uintptr_t, KeyPath> openKeys_;
  std::uintptr_t nextHandle_ = static_cast<std::uintptr_t>(RegistryKey::kRoot) + 1;
  std::string lastFailure_;
};

}  // namespace trelik
