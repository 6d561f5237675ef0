#include "shell/registry.h"

namespace trelik {

std::vector<std::string> ListSubkeys(Registry& registry, RegistryKey key) {
  std::vector<std::string> names;
  const auto info = registry.QuerySubkeys(key);
  if (!info) return names;
  for (std::size_t index = 0; index < info->count; ++index) {
    if (auto name = registry.EnumSubkey(key, index, info->longestNameLength + 1)) {
      names.push_back(std::move(*name));
    }
  }
  return names;
}

}  // namespace trelik
