#pragma once

#include <string>
#include <system_error>

namespace trelik {

// The hidden folder a copy is built in beside its destination before it is moved into place
// (see StagingName). The copying process holds it open without letting others delete it, for as
// long as it fills it: nobody removes or renames it meanwhile, and a folder left by a killed copy
// can be told from one still being filled.
class StagingFolder {
 public:
  // Makes and locks a staging folder for a copy of `name` in `folder`, which ends in a separator.
  StagingFolder(const std::string& folder, const std::string& name);
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  // Empty when the folder could not be made; Failure() then says why.
  const std::string& Path() const { return path_; }
  const std::error_code& Failure() const { return failure_; }

  // Lets go of the lock, which refuses this process too the move into place.
  void Unlock();
  // Removes the folder with everything in it.
  void Remove();

 private:
  std::string path_;
  void* lock_;
  std::error_code failure_;
};

// Removes the staging folders in `folder` (which ends in a separator) that copies left when
// their process ended: only folders of that name form whose process is gone (or is this one,
// whose id an earlier process had) and which nobody holds open.
void RemoveAbandonedStagingFolders(const std::string& folder);

}  // namespace trelik
