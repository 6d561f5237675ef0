#pragma once

#include <string>
#include <system_error>

namespace trelik {

// Renames `oldName` in the folder open as `oldDir` to `newName` in the folder open as `newDir`
// (either may be AT_FDCWD, the names then being paths). Never replaces an existing entry: plain
// rename(2) would silently replace a file or an empty folder. Nothing on success, else why not
// (errc::file_exists when the new name is taken).
std::error_code RenameNoReplace(int oldDir, const std::string& oldName, int newDir,
                                const std::string& newName);

// What RenameNoReplace does on file systems that refuse RENAME_NOREPLACE (NFS, some FUSE
// file systems): a file is linked under the new name and then unlinked under the old one; a
// folder, or a file on a file system without hard links, is renamed after checking that the new
// name is free, which is sound where only this process writes (a copy's staging folder).
std::error_code RenameNoReplaceFallback(int oldDir, const std::string& oldName, int newDir,
                                        const std::string& newName);

}  // namespace trelik
