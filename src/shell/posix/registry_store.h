#pragma once

#include <optional>
#include <string>
#include <system_error>

#include "common/posix/unique_fd.h"
#include "shell/memory_registry.h"

namespace trelik {

// The file types of the Linux build: a registry kept in a file in the registry's own text
// export format ("REGEDIT4"), read when the store is opened and replaced atomically by each
// Commit() that follows a change: a registration writes it once, however many values it sets,
// and not at all when it changes nothing. Changes not committed when the store is destroyed are
// dropped. Another process may change the file meanwhile, so each registration opens its own, and
// the store holds an exclusive lock (a lock file beside it, path + ".lock") from before it reads
// the file until it is destroyed: registrations of several processes at once follow one another
// instead of undoing each other's changes. A second store opened by the same thread meanwhile
// would wait for ever: such readers use ReadRegistryStore.
class RegistryStore : public MemoryRegistry {
 public:
  // Takes the lock, then reads the store file; a missing file is an empty store. Throws Error
  // when the file cannot be read or is damaged: such a file is left exactly as it is. When the
  // lock cannot be taken (a folder that cannot be written), the store is read all the same and
  // every change fails, saying why.
  explicit RegistryStore(const std::string& path);

 protected:
  // Every change fails while the lock is not held; so does a value the file could not keep.
  std::optional<std::string> RefuseChange(const std::vector<std::string>& key,
                                          const RegistryValue* value) const override;
  std::optional<std::string> Save(const RegistryNode& root) override;

 private:
  struct Lock {
    UniqueFd file;
    std::error_code failure;  // why it could not be taken; empty when taken
  };
  static Lock TakeLock(const std::string& path);
  RegistryStore(const std::string& path, Lock lock);

  std::string path_;
  UniqueFd lock_;
  std::error_code lockFailure_;  // why the lock could not be taken; empty when it is held
};

// The store's content as it is now, read without the lock: the file is only ever replaced
// whole, so this sees one registration's complete result. For readers running while a store of
// the same process holds the lock, such as the desktop's regeneration at a registration's end.
// Throws Error as the store does.
RegistryNode ReadRegistryStore(const std::string& path);

}  // namespace trelik
