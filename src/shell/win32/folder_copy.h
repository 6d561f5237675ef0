#pragma once

#include <string>

#include "shell/shell_operations.h"
#include "shell/win32/tree_copy.h"

namespace trelik {

// Copies the folder `source` into `destDir` as ShellOperations::CopyFolder describes. The
// template is listed once and copied entry by entry into a hidden, locked staging folder beside
// the destination, each file checked against the listing (its size) and flushed on the way
// (see CopyTree), `progress` told how far and heard when the user stops the copy; `finish` runs
// on the copy, and it is moved into place under the first free name with a move that never
// replaces. Paths the copy would give past Windows' MAX_PATH are refused
// before anything is copied. A failure removes the staging folder and the destination folders
// the copy made, nothing else, and says why.
CopyResult CopyFolderStaged(const CopyProgressReport& progress, const std::string& source,
                            const std::string& destDir, const CopyFinish& finish,
                            const std::string& wantedName);

}  // namespace trelik
