#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "library/file_access.h"

namespace trelik {

// Writes `contents` to a temporary file beside `target` with the permission bits `mode`, flushes
// it to disk and renames it over `target`, so that `target` is never seen half-written. Nothing
// on success; on failure the temporary file is gone again.
std::optional<ReplaceFailure> ReplaceBeside(const std::string& target, std::string_view contents,
                                            mode_t mode);

}  // namespace trelik
