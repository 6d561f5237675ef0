// INI text: after writing a key as the program does, reading it gives the value back, every
// other key reads as before, and writing the same again changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ascii_case.h"
#include "fuzz_check.h"
#include "library/ini_text.h"

namespace {

using trelik::IniText;

// Broader than the file's own blanks, so that names it might trim are never taken as distinct.
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32 || c == 0x1a; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// A section or key name the program writes: one line, no brackets or "=", no blanks around it.
bool WritableName(std::string_view name) {
  return !name.empty() && Trim(name) == name &&
         name.find_first_of(std::string_view("\r\n\0[]=", 6)) == std::string_view::npos;
}

// A value that reads back as written: one line, no blanks around it, not in matching quotes.
bool WritableValue(std::string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  return Trim(value) == value && !quoted &&
         value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Section and key names to read back: whatever stands in brackets or before "=" on a line.
void CollectNames(std::string_view text, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.starts_with('[')) {
      sections.emplace_back(line.substr(1, line.rfind(']') - 1));
    } else if (!line.empty()) {
      keys.emplace_back(line.substr(0, line.find('=')));
    }
  }
  // Bounds the work per input: reads are quadratic in the names collected.
  sections.resize(std::min<std::size_t>(sections.size(), 8));
  keys.resize(std::min<std::size_t>(keys.size(), 24));
}

bool SameName(std::string_view a, std::string_view b) {
  return trelik::EqualIgnoringAsciiCase(Trim(a), Trim(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string section = provider.ConsumeRandomLengthString(64);
  const std::string key = provider.ConsumeRandomLengthString(64);
  const std::string value = provider.ConsumeRandomLengthString(3000);
  const std::string text = provider.ConsumeRemainingBytesAsString();
  if (!WritableName(section) || !WritableName(key) || !WritableValue(value)) return 0;

  constexpr std::string_view kMissing = "\x01missing";
  std::vector<std::string> sections = {section};
  std::vector<std::string> keys = {key};
  CollectNames(text, sections, keys);
  const IniText before(text);
  IniText after(text);
  after.Write(section, key, value);

  FUZZ_CHECK(after.Read(section, key, kMissing) ==
             value.substr(0, std::min(value.size(), trelik::kIniReadLimit)));
  for (const std::string& otherSection : sections) {
    for (const std::string& otherKey : keys) {
      if (SameName(otherSection, section) && SameName(otherKey, key)) continue;
      FUZZ_CHECK(after.Read(otherSection, otherKey, kMissing) ==
                 before.Read(otherSection, otherKey, kMissing));
    }
  }

  IniText again(after.Text());
  again.Write(section, key, value);
  FUZZ_CHECK(again.Text() == after.Text());
  FUZZ_CHECK(again.Remove(section, key));
  return 0;
}
