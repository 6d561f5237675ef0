#pragma once

#include <optional>
#include <string>

#include "shell/posix/copy_progress.h"
#include "shell/shell_operations.h"

namespace trelik {

// Copies the folder `source` with everything in it into the folder `destDir`, creating
// `destDir` when missing, under the name that ArrivalName chooses. Regular files, folders and
// symbolic links are copied (links as links, never followed), with their permission bits and
// times; any other kind of entry fails the copy. The copy is built under a hidden temporary
// name and renamed into place whole, so nobody sees it half-done.
// Returns the path where the copy arrived (`destDir` joined with the chosen name), or why it
// failed; a failure leaves nothing behind: neither the partial copy nor folders made for it.
// `finish` runs on the hidden copy, before its attributes are set and it is moved into place.
CopyResult CopyFolderTree(const std::string& source, const std::string& destDir,
                          const CopyProgressCallback& onProgress, const CopyFinish& finish = {},
                          const std::string& wantedName = {});

}  // namespace trelik
