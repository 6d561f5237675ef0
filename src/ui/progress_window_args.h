#pragma once

#include <string>

namespace trelik {

// What a progress window says, how long the work may take before it shows, and whether the user
// may stop the work.
struct ProgressWindowArgs {
  std::string text;
  int showAfterMs = 0;
  bool cancellable = false;
};

// A folder copy's, on every platform: it can be cancelled.
ProgressWindowArgs CopyProgress();

}  // namespace trelik
