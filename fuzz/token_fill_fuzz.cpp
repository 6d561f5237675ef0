// Token filling: every known token, and nothing else, is replaced, as the plain reading of the
// rule (at each place, a known token or else the byte as it stands) does; a file is filled only
// when it is UTF-8 without NUL bytes, and stays UTF-8 when the values are; the UTF-8 check agrees
// with decoding each sequence to its code point.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/utf8.h"
#include "creation/tokens.h"
#include "fuzz_check.h"

namespace {

using trelik::TokenValues;

constexpr std::string_view kOpening = "{{trelik.";

std::string PlainFill(std::string_view text, const TokenValues& values) {
  std::string filled;
  for (std::size_t at = 0; at < text.size();) {
    const std::string_view rest = text.substr(at);
    const auto token = std::ranges::find_if(values, [rest](const auto& value) {
      return rest.starts_with(std::string(kOpening) + value.first + "}}");
    });
    if (token == values.end()) {
      filled.push_back(text[at++]);
    } else {
      filled.append(token->second);
      at += kOpening.size() + token->first.size() + 2;
    }
  }
  return filled;
}

// The sequence's length found by decoding it: 0 where no UTF-8 sequence starts.
std::size_t DecodedLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC0 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF8 ? 4
                                           : 0;
  if (length == 0 || at + length > text.size()) return 0;
  std::uint32_t codePoint = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < kSmallest[length] || surrogate || codePoint > 0x10FFFF) return 0;
  return length;
}

void CheckUtf8(std::string_view text) {
  bool valid = true;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = DecodedLength(text, at);
    FUZZ_CHECK(trelik::Utf8SequenceLength(text, at) == length);
    valid = valid && length != 0;
    at += length == 0 ? 1 : length;
  }
  FUZZ_CHECK(trelik::IsUtf8(text) == valid);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  TokenValues values;
  TokenValues unchanged;  // each known token standing for itself
  bool valuesAreUtf8 = true;
  for (int count = provider.ConsumeIntegralInRange(0, 3); count > 0; --count) {
    std::string name = provider.ConsumeRandomLengthString(16);
    std::string value = provider.ConsumeRandomLengthString(32);
    // A "}" in a name would make the first "}}" of a token ambiguous; such names are not known.
    if (name.find('}') != std::string::npos) continue;
    valuesAreUtf8 = valuesAreUtf8 && trelik::IsUtf8(value);
    unchanged[name] = std::string(kOpening) + name + "}}";
    values[std::move(name)] = std::move(value);
  }
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const std::string filled = trelik::FillTokens(text, values);
  FUZZ_CHECK(filled == PlainFill(text, values));
  FUZZ_CHECK(trelik::FillTokens(text, unchanged) == text);
  CheckUtf8(text);

  const auto contents = trelik::FilledContents(text, values);
  const bool fillable = text.find('\0') == std::string::npos && trelik::IsUtf8(text);
  FUZZ_CHECK(contents.has_value() == (fillable && filled != text));
  if (contents) {
    FUZZ_CHECK(*contents == filled);
    if (valuesAreUtf8) FUZZ_CHECK(trelik::IsUtf8(*contents));
  }
  return 0;
}
