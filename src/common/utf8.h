#pragma once

#include <cstddef>
#include <string_view>

namespace trelik {

// The length of the UTF-8 sequence that starts at `text[at]`, or 0 when none does: overlong
// forms, surrogates and code points past U+10FFFF are not UTF-8.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

bool IsUtf8(std::string_view text);

}  // namespace trelik
