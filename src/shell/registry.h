#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelik {

// A key opened in one Registry; only that registry understands the value.
enum class RegistryKey : std::uintptr_t { kNone = 0, kRoot = 1 };

struct SubkeyInfo {
  std::size_t count = 0;
  std::size_t longestNameLength = 0;  // without a terminating NUL
};

// The few registry operations that file-type registration needs, with the Windows registry's
// semantics: key paths are names joined by backslashes, relative to a parent key (kRoot for the
// registry's root); names are compared without regard to case, keeping the spelling first
// written; the default value has the empty name; a key that still has subkeys cannot be deleted.
class Registry {
 public:
  virtual ~Registry() = default;

  // Opens the key at `path` below the root, creating it and any missing keys above it; existing
  // keys stay as they are. kNone when it can neither be created nor opened.
  virtual RegistryKey CreateKey(const std::string& path) = 0;
  // Opens an existing key below `parent`; kNone when it is missing or cannot be opened.
  virtual RegistryKey OpenKey(RegistryKey parent, const std::string& path) = 0;
  // Closing kNone or kRoot does nothing.
  virtual void CloseKey(RegistryKey key) = 0;

  // Stores `data` as a string value, replacing older data of the same name. False on failure,
  // also for kNone.
  virtual bool SetString(RegistryKey key, const std::string& valueName,
                         const std::string& data) = 0;
  // The string value, or nullopt when it is missing or not a string.
  virtual std::optional<std::string> ReadString(RegistryKey key, const std::string& valueName) = 0;

  virtual std::optional<SubkeyInfo> QuerySubkeys(RegistryKey key) = 0;
  // The name of the subkey at `index`; nullopt when there is none or when the name and its
  // terminating NUL do not fit into `bufferLength` characters.
  virtual std::optional<std::string> EnumSubkey(RegistryKey key, std::size_t index,
                                                std::size_t bufferLength) = 0;

  // Deletes a key that has no subkeys, with its values. True on success.
  virtual bool DeleteKey(RegistryKey parent, const std::string& path) = 0;

  // Makes the changes since the last commit last. A registry that writes each change through at
  // once has nothing left to do; one kept in a file writes it here, once for all of them. False
  // when they cannot be kept: they are then undone, and LastFailure() says why.
  virtual bool Commit() = 0;

  // Why the last CreateKey, SetString, DeleteKey or Commit failed, in the system's words and taken
  // at the failing call, e.g. "Cannot write /home/u/.local/share/trelik/filetypes.reg: Permission
  // denied"; empty after one that succeeded or when the registry cannot say.
  virtual std::string LastFailure() const = 0;
};

// Closes the key it holds when it goes out of scope.
class OpenedKey {
 public:
  OpenedKey(Registry& registry, RegistryKey key) : registry_(registry), key_(key) {}
  ~OpenedKey() { registry_.CloseKey(key_); }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  RegistryKey Get() const { return key_; }
  explicit operator bool() const { return key_ != RegistryKey::kNone; }

 private:
  Registry& registry_;
  RegistryKey key_;
};

// The names of the key's subkeys, in the registry's order; empty when it cannot be read.
std::vector<std::string> ListSubkeys(Registry& registry, RegistryKey key);

}  // namespace trelik
