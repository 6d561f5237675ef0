#include "shell/win32/win32_registry.h"

#include <vector>

#include "common/system_error.h"

namespace trelik {
namespace {

RegistryKey ToRegistryKey(HKEY key) {
  return static_cast<RegistryKey>(reinterpret_cast<std::uintptr_t>(key));
}

// Creates or opens a key with the rights the file-type algorithm needs.
LSTATUS CreateWithAllAccess(HKEY parent, const std::string& path, HKEY& key) {
  return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, &key, nullptr);
}

// Registry functions return their error rather than leaving it as the thread's last error.
std::string SystemMessage(LSTATUS code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string message =
      length > 0 ? std::string(buffer, length) : "System error " + std::to_string(code);
  LocalFree(buffer);
  return CleanSystemMessage(message);
}

}  // namespace

Win32Registry::Win32Registry() {
  const LSTATUS result = CreateWithAllAccess(HKEY_CURRENT_USER, "Software\\Classes", root_);
  if (result != ERROR_SUCCESS) {
    root_ = nullptr;
    rootFailure_ = SystemMessage(result);
  }
}

Win32Registry::~Win32Registry() {
  if (root_ != nullptr) RegCloseKey(root_);
}

HKEY Win32Registry::Handle(RegistryKey key) const {
  if (key == RegistryKey::kRoot) return root_;
  return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

bool Win32Registry::Note(LSTATUS result) {
  lastFailure_ = result == ERROR_SUCCESS ? std::string() : SystemMessage(result);
  return result == ERROR_SUCCESS;
}

RegistryKey Win32Registry::CreateKey(const std::string& path) {
  if (root_ == nullptr) {
    lastFailure_ = rootFailure_;
    return RegistryKey::kNone;
  }
  HKEY key = nullptr;
  return Note(CreateWithAllAccess(root_, path, key)) ? ToRegistryKey(key) : RegistryKey::kNone;
}

RegistryKey Win32Registry::OpenKey(RegistryKey parent, const std::string& path) {
  HKEY key = nullptr;
  if (Handle(parent) == nullptr ||
      RegOpenKeyExA(Handle(parent), path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return RegistryKey::kNone;
  }
  return ToRegistryKey(key);
}

void Win32Registry::CloseKey(RegistryKey key) {
  if (key != RegistryKey::kNone && key != RegistryKey::kRoot) RegCloseKey(Handle(key));
}

bool Win32Registry::SetString(RegistryKey key, const std::string& valueName,
                              const std::string& data) {
  lastFailure_.clear();
  // The stored size counts the terminating NUL, so an empty string takes one byte.
  return Handle(key) != nullptr && Note(RegSetValueExA(Handle(key), valueName.c_str(), 0, REG_SZ,
                                                       reinterpret_cast<const BYTE*>(data.c_str()),
                                                       static_cast<DWORD>(data.size() + 1)));
}

std::optional<std::string> Win32Registry::ReadString(RegistryKey key,
                                                     const std::string& valueName) {
  DWORD type = 0;
  DWORD size = 0;
  if (Handle(key) == nullptr ||
      RegQueryValueExA(Handle(key), valueName.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(Handle(key), valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(buffer.data());  // up to the terminating NUL
}

std::optional<SubkeyInfo> Win32Registry::QuerySubkeys(RegistryKey key) {
  DWORD count = 0;
  DWORD longest = 0;
  if (Handle(key) == nullptr ||
      RegQueryInfoKeyA(Handle(key), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return SubkeyInfo{count, longest};
}

std::optional<std::string> Win32Registry::EnumSubkey(RegistryKey key, std::size_t index,
                                                     std::size_t bufferLength) {
  std::vector<char> buffer(bufferLength + 1, '\0');
  DWORD length = static_cast<DWORD>(bufferLength);
  if (Handle(key) == nullptr ||
      RegEnumKeyExA(Handle(key), static_cast<DWORD>(index), buffer.data(), &length, nullptr,
                    nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(buffer.data(), length);
}

bool Win32Registry::DeleteKey(RegistryKey parent, const std::string& path) {
  lastFailure_.clear();
  // An empty path would name the parent itself.
  return Handle(parent) != nullptr && !path.empty() &&
         Note(RegDeleteKeyA(Handle(parent), path.c_str()));
}

bool Win32Registry::Commit() {
  lastFailure_.clear();
  return true;
}

}  // namespace trelik
