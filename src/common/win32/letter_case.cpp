#include "common/letter_case.h"

#include <windows.h>

#include <optional>
#include <string>

#include "common/ascii_case.h"

namespace trelik {
namespace {

std::optional<std::wstring> StrictWide(std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
  return text;
}

}  // namespace

// As the file system and the registry compare names.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (EqualIgnoringAsciiCase(a, b)) return true;
  const auto textA = StrictWide(a);
  const auto textB = StrictWide(b);
  return textA && textB &&
         CompareStringOrdinal(textA->c_str(), static_cast<int>(textA->size()), textB->c_str(),
                              static_cast<int>(textB->size()), TRUE) == CSTR_EQUAL;
}

}  // namespace trelik
