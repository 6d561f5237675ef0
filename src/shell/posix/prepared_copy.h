#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "shell/posix/copy_progress.h"
#include "shell/posix/folder_copy.h"

namespace trelik {

// A folder copied ahead, on a thread of its own, into a staging folder of the folder a copy of
// it is expected to go into, while the user is still deciding its name. The copy made later
// adopts it when it is for the same folders and nothing in the source has changed since it was
// read; otherwise it is thrown away and the copy is made afresh.
class PreparedCopy {
 public:
  PreparedCopy(std::string source, std::string destDir);
  // Stops the copy if it is still running, and removes whatever of it was not adopted.
  ~PreparedCopy();
  PreparedCopy(const PreparedCopy&) = delete;
  PreparedCopy& operator=(const PreparedCopy&) = delete;

  bool IsFor(const std::string& source, const std::string& destDir) const {
    return source == source_ && destDir == destDir_;
  }

  // What Adopt gives.
  struct Adoption {
    std::optional<StagedCopy> staged;  // none when the copy must be made afresh
    bool cancelled = false;            // the user stopped the wait; nothing of it is left
  };

  // Waits for the copy to end, telling `onProgress` how far it has got as a copy does (a
  // progress window shows only when the wait is long), and hands it over when it is whole and
  // its source and destination are still what it copied from and into.
  Adoption Adopt(const CopyProgressCallback& onProgress);

 private:
  void Run();
  bool SourceUnchanged(const StagedCopy& staged) const;
  bool DestinationUnchanged(const StagedCopy& staged) const;

  std::string source_;
  std::string destDir_;
  std::atomic<bool> stop_ = false;
  std::atomic<std::uint64_t> done_ = 0;
  std::atomic<std::uint64_t> total_ = 0;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool finished_ = false;  // guarded by mutex_
  StagedCopy staged_;      // the thread's result, once finished_
  std::thread worker_;
};

}  // namespace trelik
