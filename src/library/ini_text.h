#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace trelik {

// Values longer than this are cut on reading, as by a 2048-byte private-profile buffer.
inline constexpr std::size_t kIniReadLimit = 2047;

// The text of a Windows INI file, read and edited by the rules of the Windows private-profile
// functions: section and key names compared without regard to ASCII case, blanks around names
// and values dropped, one pair of matching quotes around a value dropped, only the first section
// of a name searched.
class IniSection;

class IniText {
 public:
  explicit IniText(std::string text) : text_(std::move(text)) {}

  const std::string& Text() const { return text_; }

  // The stored value, or `defaultValue` without its trailing blanks when the section or key is
  // missing; at most kIniReadLimit characters.
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;

  // The first section of that name, read once for many look-ups; empty when it is missing.
  IniSection Section(std::string_view section) const;

  // Replaces the key's value, or adds the key (and its section) when it is missing.
  void Write(std::string_view section, std::string_view key, std::string_view value);

  // Removes the key's line; returns false when there was no such key.
  bool Remove(std::string_view section, std::string_view key);

 private:
  struct Span {
    std::size_t begin = 0;  // first character of the line
    std::size_t next = 0;   // first character of the following line
  };
  struct Lookup {
    std::optional<Span> sectionHeader;
    std::optional<Span> keyLine;
    std::size_t sectionEnd = 0;  // where a new key of the section goes
  };

  Lookup Find(std::string_view section, std::string_view key) const;

  std::string text_;
};

// The keys of one section with their values, looked up by the rules of IniText::Read: for the
// keys of a whole library, where one Read per key would go through the whole text each time.
class IniSection {
 public:
  // `lines` are the section's lines after its header.
  explicit IniSection(std::string_view lines);

  std::string Read(std::string_view key, std::string_view defaultValue) const;

 private:
  // By the trimmed key in lower case; nullopt for a key line without "=".
  std::unordered_map<std::string, std::optional<std::string>> values_;
};

}  // namespace trelik
