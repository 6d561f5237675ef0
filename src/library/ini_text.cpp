#include "library/ini_text.h"

#include <algorithm>

#include "common/ascii_case.h"

namespace trelik {
namespace {

// The private-profile functions also treat Ctrl+Z, the old end-of-file mark, as a blank.
bool IsIniBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1a;
}

std::string_view TrimIni(std::string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names are compared trimmed: " a " finds [a], and "[ a ]" is found by "a".
bool NamesEqual(std::string_view stored, std::string_view asked) {
  return EqualIgnoringAsciiCase(TrimIni(stored), TrimIni(asked));
}

// CR LF, LF and a lone CR each end a line.
std::size_t NextLineStart(std::string_view text, std::size_t begin) {
  const auto end = text.find_first_of("\r\n", begin);
  if (end == std::string_view::npos) return text.size();
  return text.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct ParsedLine {
  enum class Kind { kBlank, kSection, kEntry } kind = Kind::kBlank;
  std::string_view name;
  std::optional<std::string_view> value;  // empty for an entry without "="
};

ParsedLine ParseLine(std::string_view line) {
  line = TrimIni(line);
  if (line.empty()) return {};
  if (line.front() == '[') {
    const auto close = line.rfind(']');
    if (close == 0 || close == std::string_view::npos) return {};
    return {ParsedLine::Kind::kSection, line.substr(1, close - 1), std::nullopt};
  }
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return {ParsedLine::Kind::kEntry, line, std::nullopt};
  return {ParsedLine::Kind::kEntry, TrimIni(line.substr(0, equals)),
          TrimIni(line.substr(equals + 1))};
}

std::string_view StripMatchingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string CutToReadLimit(std::string_view value) {
  return std::string(value.substr(0, std::min(value.size(), kIniReadLimit)));
}

// What a read of a missing key gives.
std::string DefaultRead(std::string_view defaultValue) {
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  return CutToReadLimit(defaultValue);
}

}  // namespace

IniText::Lookup IniText::Find(std::string_view section, std::string_view key) const {
  Lookup found;
  bool inSection = false;
  std::size_t begin = text_.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  while (begin < text_.size()) {
    const std::size_t next = NextLineStart(text_, begin);
    const ParsedLine line = ParseLine(std::string_view(text_).substr(begin, next - begin));
    if (line.kind == ParsedLine::Kind::kSection) {
      if (inSection) break;  // only the first section of that name is searched
      if (NamesEqual(line.name, section)) {
        inSection = true;
        found.sectionHeader = Span{begin, next};
        found.sectionEnd = next;
      }
    } else if (line.kind == ParsedLine::Kind::kEntry && inSection) {
      if (!found.keyLine && NamesEqual(line.name, key)) found.keyLine = Span{begin, next};
      found.sectionEnd = next;
    }
    begin = next;
  }
  return found;
}

std::string IniText::Read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
  const Lookup found = Find(section, key);
  if (found.keyLine) {
    const auto& span = *found.keyLine;
    const ParsedLine line =
        ParseLine(std::string_view(text_).substr(span.begin, span.next - span.begin));
    if (line.value) return CutToReadLimit(StripMatchingQuotes(*line.value));
  }
  return DefaultRead(defaultValue);
}

IniSection IniText::Section(std::string_view section) const {
  // The header found with a key no line can hold; the section then runs to its last entry.
  const Lookup found = Find(section, "=");
  if (!found.sectionHeader) return IniSection("");
  const std::size_t begin = found.sectionHeader->next;
  return IniSection(std::string_view(text_).substr(begin, found.sectionEnd - begin));
}

IniSection::IniSection(std::string_view lines) {
  std::size_t begin = 0;
  while (begin < lines.size()) {
    const std::size_t next = NextLineStart(lines, begin);
    const ParsedLine line = ParseLine(lines.substr(begin, next - begin));
    // Of a key written twice, the first counts, as for a read of that key; without "=" it
    // reads as missing.
    if (line.kind == ParsedLine::Kind::kEntry) {
      values_.try_emplace(AsciiLowercase(line.name),
                          line.value
                              ? std::optional(CutToReadLimit(StripMatchingQuotes(*line.value)))
                              : std::nullopt);
    }
    begin = next;
  }
}

std::string IniSection::Read(std::string_view key, std::string_view defaultValue) const {
  const auto found = values_.find(AsciiLowercase(TrimIni(key)));
  return found == values_.end() || !found->second ? DefaultRead(defaultValue) : *found->second;
}

void IniText::Write(std::string_view section, std::string_view key, std::string_view value) {
  const Lookup found = Find(section, key);
  if (found.keyLine) {
    // The line keeps the key's stored spelling and its own line end.
    const auto& span = *found.keyLine;
    const std::size_t contentEnd = std::min(text_.find_first_of("\r\n", span.begin), span.next);
    const ParsedLine line =
        ParseLine(std::string_view(text_).substr(span.begin, contentEnd - span.begin));
    const std::string replacement = std::string(line.name) + "=" + std::string(value);
    text_.replace(span.begin, contentEnd - span.begin, replacement);
    return;
  }

  const std::size_t at = found.sectionHeader ? found.sectionEnd : text_.size();
  std::string addition;
  if (at == text_.size() && !text_.empty() && text_.back() != '\n' && text_.back() != '\r') {
    addition += "\r\n";  // the last line had no line end
  }
  if (!found.sectionHeader) addition.append("[").append(section).append("]\r\n");
  addition.append(key).append("=").append(value).append("\r\n");
  text_.insert(at, addition);
}

bool IniText::Remove(std::string_view section, std::string_view key) {
  const Lookup found = Find(section, key);
  if (!found.keyLine) return false;
  text_.erase(found.keyLine->begin, found.keyLine->next - found.keyLine->begin);
  return true;
}

}  // namespace trelik
