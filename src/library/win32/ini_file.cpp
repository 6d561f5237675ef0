#include "library/ini_file.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/error.h"
#include "library/ini_text.h"

namespace trelik {

std::string TIniFile::ReadText(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  char buffer[kIniReadLimit + 1];
  const DWORD length = GetPrivateProfileStringA(
      std::string(section).c_str(), std::string(key).c_str(), std::string(defaultValue).c_str(),
      buffer, sizeof buffer, path_.c_str());
  return std::string(buffer, length);
}

IniSection TIniFile::ReadSection(std::string_view section) const {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const DWORD length =
        GetPrivateProfileSectionA(std::string(section).c_str(), buffer.data(),
                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    // A section that does not fit comes back cut, two characters short of the buffer.
    if (length + 2 < buffer.size()) {
      // One string per line, each ended by a NUL.
      std::replace(buffer.begin(), buffer.begin() + length, '\0', '\n');
      return IniSection(std::string_view(buffer.data(), length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

void TIniFile::WriteText(std::string_view section, std::string_view key, std::string_view value) {
  if (!WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                  std::string(value).c_str(), path_.c_str())) {
    throw Error("Unable to write to " + path_);
  }
}

void TIniFile::RemoveKey(std::string_view section, std::string_view key) {
  // Removing a key that is not there is no failure worth reporting.
  static_cast<void>(WritePrivateProfileStringA(std::string(section).c_str(),
                                               std::string(key).c_str(), nullptr, path_.c_str()));
}

void TIniFile::FlushSettings() noexcept {
  static_cast<void>(WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()));
}

}  // namespace trelik
