#pragma once

#include <string>

#include "shell/memory_registry.h"

namespace trelik {

// The file types of the Linux build: a registry kept in a file in the registry's own text
// export format ("REGEDIT4"), read when the store is opened and replaced atomically after each
// change. Another process may change the file meanwhile, so each registration opens its own.
class RegistryStore : public MemoryRegistry {
 public:
  // Reads the store file; a missing file is an empty store. Throws Error when the file cannot
  // be read or is damaged: such a file is left exactly as it is.
  explicit RegistryStore(const std::string& path);
};

}  // namespace trelik
