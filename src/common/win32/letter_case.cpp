#include "common/letter_case.h"

#include <windows.h>

#include "common/ascii_case.h"
#include "common/win32/narrow_text.h"

namespace trelik {
// As the file system and the registry compare names.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (EqualIgnoringAsciiCase(a, b)) return true;
  const auto textA = StrictWideText(a, CP_UTF8);
  const auto textB = StrictWideText(b, CP_UTF8);
  return textA && textB &&
         CompareStringOrdinal(textA->c_str(), static_cast<int>(textA->size()), textB->c_str(),
                              static_cast<int>(textB->size()), TRUE) == CSTR_EQUAL;
}

}  // namespace trelik
