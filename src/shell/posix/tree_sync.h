#pragma once

#include <cstddef>
#include <system_error>

namespace trelik {

// Flushes the folder tree open as `folder` to the disk, so that once it is renamed into place a
// power cut cannot leave it holding empty or missing files: each file, then the folder that
// names it. A tree of more than a few files is flushed with its whole file system instead
// (syncfs), one wait rather than one per file; `files` is how many it holds. Nothing on success,
// else why not; a file system that cannot flush at all is taken as flushed.
std::error_code SyncTree(int folder, std::size_t files);

// Flushes one folder's entries, for the rename of a copy into it.
void SyncFolder(int folder);

}  // namespace trelik
