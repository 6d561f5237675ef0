#pragma once

#include <sys/stat.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "common/posix/unique_fd.h"
#include "shell/posix/copy_progress.h"
#include "shell/posix/copy_staging.h"
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

// An entry of a copied folder as the copy read it: `relative` is its path in the folder.
struct SourceStamp {
  std::string relative;
  struct stat info;
};

// A folder's content copied ahead, complete, into a staging folder of its destination, for a
// copy into that destination to finish later with FinishStagedCopy.
struct StagedCopy {
  bool Staged() const { return staging.folder.IsOpen(); }

  std::string name;  // the copied folder's own name
  UniqueFd source;
  UniqueFd destination;
  struct stat sourceInfo {};
  StagingFolder staging;
  std::size_t filesCopied = 0;
  std::time_t startedAt = 0;      // the clock when the copy started
  std::vector<SourceStamp> read;  // every entry below the source, in the order read
};

// Copies everything in the folder `source` into a new staging folder in the existing folder
// `destDir`; `onProgress` hears how far it has got and may stop it. Not Staged() when it failed
// or was stopped, and then nothing of it is left.
StagedCopy StageCopy(const std::string& source, const std::string& destDir,
                     const CopyProgressCallback& onProgress);

// Finishes a copy that StageCopy made into `destDir` as CopyFolderTree finishes its own: runs
// `finish` on it, flushes it and moves it into place under the name ArrivalName chooses.
CopyResult FinishStagedCopy(StagedCopy staged, const std::string& destDir, const CopyFinish& finish,
                            const std::string& wantedName);

}  // namespace trelik
