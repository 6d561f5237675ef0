#pragma once

#include <windows.h>

#include <string>

#include "shell/registry.h"

namespace trelik {

// The Windows registry, rooted at the per-user classes key HKEY_CURRENT_USER\Software\Classes,
// which the shell merges into HKEY_CLASSES_ROOT: file types registered there need no
// administrator rights.
class Win32Registry : public Registry {
 public:
  Win32Registry();
  ~Win32Registry() override;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

  RegistryKey CreateKey(const std::string& path) override;
  RegistryKey OpenKey(RegistryKey parent, const std::string& path) override;
  void CloseKey(RegistryKey key) override;
  bool SetString(RegistryKey key, const std::string& valueName, const std::string& data) override;
  std::optional<std::string> ReadString(RegistryKey key, const std::string& valueName) override;
  std::optional<SubkeyInfo> QuerySubkeys(RegistryKey key) override;
  std::optional<std::string> EnumSubkey(RegistryKey key, std::size_t index,
                                        std::size_t bufferLength) override;
  bool DeleteKey(RegistryKey parent, const std::string& path) override;
  // Each change reached the registry when it was made.
  bool Commit() override;
  std::string LastFailure() const override { return lastFailure_; }

 private:
  HKEY Handle(RegistryKey key) const;
  // Keeps the system's description of a registry function's result, cleared on success.
  bool Note(LSTATUS result);

  HKEY root_ = nullptr;      // null when the classes key could not be opened: every call then fails
  std::string rootFailure_;  // why it could not be opened
  std::string lastFailure_;
};

}  // namespace trelik
