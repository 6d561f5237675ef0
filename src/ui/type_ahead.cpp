#include "ui/type_ahead.h"

#include <algorithm>
#include <string_view>

#include "common/letter_case.h"

namespace trelik {

int TypeAheadIndex(const std::vector<std::string>& items, int current, const std::string& typed) {
  const int count = static_cast<int>(items.size());
  if (typed.empty() || count == 0) return current;
  const bool oneLetter = std::ranges::all_of(typed, [&](char c) { return c == typed.front(); });
  const std::string_view wanted = oneLetter ? std::string_view(typed).substr(0, 1) : typed;
  const int start = current < 0 ? 0 : (oneLetter ? current + 1 : current);
  for (int step = 0; step < count; ++step) {
    const std::string& item = items[(start + step) % count];
    if (EqualIgnoringCase(std::string_view(item).substr(0, wanted.size()), wanted)) {
      return (start + step) % count;
    }
  }
  return current;
}

}  // namespace trelik
