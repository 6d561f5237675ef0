#pragma once

#include <string>

#include "shell/shell_operations.h"

namespace trelik {

// Copies the folder `source` into `destDir` as ShellOperations::CopyFolder describes. The
// shell copies into a hidden, locked staging folder beside the destination, with its own
// progress window; the copy is then checked against the template (every entry, each file's
// size) and flushed, `finish` runs on it, and it is moved into place under the first free name
// with a move that never replaces. Paths the copy would give past Windows' MAX_PATH are refused
// before anything is copied. A failure removes the staging folder and the destination folders
// the copy made, nothing else, and says why.
CopyResult CopyFolderStaged(NativeWindow owner, const std::string& source,
                            const std::string& destDir, const CopyFinish& finish,
                            const std::string& wantedName);

}  // namespace trelik
