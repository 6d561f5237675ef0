#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/memory_registry.h"

namespace trelik::testing {

// An in-memory registry that refuses what a test asks it to, as a registry refuses a user
// without the right to write there. Refusals carry no cause.
class RefusingRegistry : public MemoryRegistry {
 public:
  // From now on every value written to the key at `path` (below the root) is refused.
  void RefuseWritesTo(const std::string& path);
  // From now on every creation, write and deletion is refused.
  void RefuseAllChanges() { refuseAll_ = true; }

 protected:
  std::optional<std::string> RefuseChange(const std::vector<std::string>& key,
                                          const RegistryValue* value) const override;

 private:
  std::vector<std::vector<std::string>> refusedWrites_;
  bool refuseAll_ = false;
};

}  // namespace trelik::testing
