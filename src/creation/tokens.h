#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/path_parts.h"

namespace trelik {

// The values of the tokens "{{trelik.NAME}}", by NAME. A token whose NAME is not here is left as
// it stands, and so are braces of any other template language.
using TokenValues = std::map<std::string, std::string, std::less<>>;

// `text` with every known token replaced by its value.
std::string FillTokens(std::string_view text, const TokenValues& values);

// True when `text` holds a known token.
bool HoldsToken(std::string_view text, const TokenValues& values);

// Files larger than this are copied as they are: a template's text files are far smaller.
inline constexpr std::size_t kFillLimit = std::size_t{4} << 20;

// The content of a file with its tokens filled in, or nullopt when the file stays as it is:
// larger than kFillLimit, not valid UTF-8, holding a NUL byte, or holding no known token. Only
// tokens are replaced, so a byte-order mark and the line ends stay byte for byte.
std::optional<std::string> FilledContents(std::string_view bytes, const TokenValues& values);

struct NameChange {
  std::string from;
  std::string to;
};

// How the entries of one folder are renamed: every name holding a token gets its filled name,
// unless that would be empty, not a plain file name on the platform, or another entry's name
// (on Windows whatever the case); those names stay and are listed in `refused`.
struct NameRewrites {
  std::vector<NameChange> changes;
  std::vector<std::string> refused;
};
NameRewrites RewriteNames(const std::vector<std::string>& names, const TokenValues& values,
                          const PathSeparators& separators);

}  // namespace trelik
