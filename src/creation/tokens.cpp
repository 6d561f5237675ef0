#include "creation/tokens.h"

#include <set>

#include "common/ascii_case.h"
#include "common/file_name_rules.h"

namespace trelik {
namespace {

constexpr std::string_view kOpening = "{{trelik.";
constexpr std::string_view kClosing = "}}";

// The length of the UTF-8 sequence that starts at `text[at]`, or 0 when none does: overlong
// forms, surrogates and code points past U+10FFFF are not UTF-8.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

bool IsWindows(const PathSeparators& separators) {
  return separators.delimiters == kWindowsSeparators.delimiters;
}

}  // namespace

std::string FillTokens(std::string_view text, const TokenValues& values) {
  std::string filled;
  filled.reserve(text.size());
  for (;;) {
    const std::size_t opening = text.find(kOpening);
    if (opening == std::string_view::npos) break;
    filled.append(text.substr(0, opening));
    text.remove_prefix(opening);
    const std::size_t closing = text.find(kClosing, kOpening.size());
    const auto value = closing == std::string_view::npos
                           ? values.end()
                           : values.find(text.substr(kOpening.size(), closing - kOpening.size()));
    if (value == values.end()) {
      // Unknown: the opening stays, and a known token may still start inside what follows it.
      filled.append(kOpening);
      text.remove_prefix(kOpening.size());
    } else {
      filled.append(value->second);
      text.remove_prefix(closing + kClosing.size());
    }
  }
  filled.append(text);
  return filled;
}

bool HoldsToken(std::string_view text, const TokenValues& values) {
  return text.find(kOpening) != std::string_view::npos && FillTokens(text, values) != text;
}

std::optional<std::string> FilledContents(std::string_view bytes, const TokenValues& values) {
  if (bytes.size() > kFillLimit || bytes.find('\0') != std::string_view::npos ||
      bytes.find(kOpening) == std::string_view::npos || !IsUtf8(bytes)) {
    return std::nullopt;
  }
  std::string filled = FillTokens(bytes, values);
  if (filled == bytes) return std::nullopt;
  return filled;
}

NameRewrites RewriteNames(const std::vector<std::string>& names, const TokenValues& values,
                          const PathSeparators& separators) {
  // Windows takes two names that differ only in case for one.
  const auto key = [windows = IsWindows(separators)](std::string_view name) {
    return windows ? AsciiLowercase(name) : std::string(name);
  };
  std::set<std::string> taken;
  for (const auto& name : names) taken.insert(key(name));
  // Two names filled alike both stay, whatever order the folder lists them in.
  std::vector<NameChange> candidates;
  std::map<std::string, int> filledAlike;
  NameRewrites rewrites;
  for (const auto& name : names) {
    if (!HoldsToken(name, values)) continue;
    std::string filled = FillTokens(name, values);
    const bool valid = !filled.empty() && !FileNameProblem(filled, separators);
    if (!valid || (key(filled) != key(name) && taken.contains(key(filled)))) {
      rewrites.refused.push_back(name);
    } else {
      ++filledAlike[key(filled)];
      candidates.push_back({name, std::move(filled)});
    }
  }
  for (auto& candidate : candidates) {
    if (filledAlike[key(candidate.to)] > 1) {
      rewrites.refused.push_back(candidate.from);
    } else {
      rewrites.changes.push_back(std::move(candidate));
    }
  }
  return rewrites;
}

}  // namespace trelik
