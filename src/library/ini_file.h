#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/ini_text.h"

namespace trelik {

// The settings file: every operation goes straight to the file, nothing is cached, and creating
// the object neither reads nor creates the file.
class TIniFile {
 public:
  explicit TIniFile(std::string path) : path_(std::move(path)) {}
  ~TIniFile() { FlushSettings(); }
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& Path() const { return path_; }

  // The stored value, or `defaultValue` when the file, section or key is missing; at most 2047
  // characters. Never fails.
  std::string ReadText(std::string_view section, std::string_view key,
                       std::string_view defaultValue) const;
  // True when the stored value reads as a non-zero integer; `defaultValue` when it is not an
  // integer. Never fails.
  bool ReadFlag(std::string_view section, std::string_view key, bool defaultValue) const;

  // A whole section in one read, its keys then read as ReadText would read them: for reading one
  // key of every template, which key by key would go to the file once per template. Never fails.
  IniSection ReadSection(std::string_view section) const;

  // Why the file exists but cannot be read (a folder, a pipe, a file this user may not read),
  // in the system's words; nullopt when it is missing or readable. The reads above take such a
  // file as empty, so whoever depends on its values asks first.
  std::optional<std::string> ReadProblem() const;

  // Create the file, section or key as needed; throw Error("Unable to write to <path>").
  void WriteText(std::string_view section, std::string_view key, std::string_view value);
  void WriteFlag(std::string_view section, std::string_view key, bool value);

  // Removes the key; a missing file, section or key and a failure all pass silently.
  void RemoveKey(std::string_view section, std::string_view key);

  // Has the platform write out whatever it still holds of the file; never fails.
  void FlushSettings() noexcept;

 private:
  std::string path_;
};

}  // namespace trelik
