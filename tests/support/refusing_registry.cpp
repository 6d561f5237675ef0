#include "support/refusing_registry.h"

#include <algorithm>

namespace trelik::testing {

void RefusingRegistry::RefuseWritesTo(const std::string& path) {
  refusedWrites_.push_back(SplitKeyPath(path));
}

std::optional<std::string> RefusingRegistry::RefuseChange(const std::vector<std::string>& key,
                                                          const RegistryValue* value) const {
  const auto isKey = [&key](const std::vector<std::string>& refused) {
    return std::ranges::equal(refused, key, [](const std::string& a, const std::string& b) {
      return SameRegistryName(a, b);
    });
  };
  if (refuseAll_ || (value != nullptr && std::ranges::any_of(refusedWrites_, isKey))) {
    return std::string();
  }
  return std::nullopt;
}

}  // namespace trelik::testing
