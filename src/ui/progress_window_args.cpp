#include "ui/progress_window_args.h"

namespace trelik {

ProgressWindowArgs CopyProgress() {
  return {.text = "Copying…", .showAfterMs = 500, .cancellable = true};
}

}  // namespace trelik
