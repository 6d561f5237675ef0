#include "common/letter_case.h"

#include <locale.h>

#include <cstddef>
#include <cwctype>

#include "common/ascii_case.h"
#include "common/utf8.h"

namespace trelik {
namespace {

// The code point of the valid sequence of `length` bytes at `text[at]`.
wint_t CodePoint(std::string_view text, std::size_t at, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  auto point = static_cast<wint_t>(static_cast<unsigned char>(text[at]) & kLeadBits[length]);
  for (std::size_t i = 1; i < length; ++i) {
    point = (point << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  }
  return point;
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (EqualIgnoringAsciiCase(a, b)) return true;
  if (!IsUtf8(a) || !IsUtf8(b)) return false;
  // The C locale knows only ASCII letters; C.UTF-8 knows them all, whatever the user's locale.
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (unicode == locale_t{}) return false;
  std::size_t atA = 0;
  std::size_t atB = 0;
  while (atA < a.size() && atB < b.size()) {
    const std::size_t lengthA = Utf8SequenceLength(a, atA);
    const std::size_t lengthB = Utf8SequenceLength(b, atB);
    if (towupper_l(CodePoint(a, atA, lengthA), unicode) !=
        towupper_l(CodePoint(b, atB, lengthB), unicode)) {
      return false;
    }
    atA += lengthA;
    atB += lengthB;
  }
  return atA == a.size() && atB == b.size();
}

}  // namespace trelik
