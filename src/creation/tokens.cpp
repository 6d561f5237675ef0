#include "creation/tokens.h"

#include <set>

#include "common/ascii_case.h"
#include "common/file_name_rules.h"
#include "common/utf8.h"

namespace trelik {
namespace {

constexpr std::string_view kOpening = "{{trelik.";
constexpr std::string_view kClosing = "}}";

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
