#pragma once

#include <string>
#include <vector>

namespace trelik {

// The entry a drop-down list moves to as the user types, standing at `current` (-1 for none),
// with `typed` the letters typed since the last pause: the first entry from there on, round
// the end, that starts with them regardless of letter case. A first letter, or one letter typed
// again and again, steps to the next entry starting with it. `current` when none matches.
int TypeAheadIndex(const std::vector<std::string>& items, int current, const std::string& typed);

}  // namespace trelik
