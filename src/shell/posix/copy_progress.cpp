#include "shell/posix/copy_progress.h"

#include <algorithm>

namespace trelik {

CopyProgress::CopyProgress(const CopyProgressCallback& callback, std::uint64_t total)
    : callback_(callback), total_(total), step_(total / 256 + 1), nextReport_(step_) {
  Report();
}

void CopyProgress::Advance(std::uint64_t bytes) {
  done_ += bytes;
  if (done_ < nextReport_) return;
  nextReport_ = done_ + step_;
  Report();
}

void CopyProgress::Finish() {
  // Files that grew or shrank while being copied must not leave the count short or beyond.
  total_ = std::max(total_, done_);
  done_ = total_;
  if (callback_) callback_(done_, total_);  // the copy has ended: too late to stop it
}

void CopyProgress::Report() {
  if (callback_ && !callback_(done_, std::max(done_, total_))) cancelled_ = true;
}

}  // namespace trelik
