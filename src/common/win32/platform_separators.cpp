#include "common/path_parts.h"

namespace trelik {

const PathSeparators& PlatformSeparators() { return kWindowsSeparators; }

}  // namespace trelik
