#pragma once

#include <cstdint>
#include <functional>

namespace trelik {

// Told how far a folder copy has got, in bytes of file content: `done` of `total`. It hears
// (0, total) before the first byte, then again each time about another 1/256 of the total is
// done, and last (total, total) when the copy has ended, whether it succeeded or failed (the
// copy's result tells which); nothing when the copy is refused before it starts. It runs on the
// copying thread, so a progress window can repaint from it and close at the end. It returns
// false when the user asked to stop the copy.
using CopyProgressCallback = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Passes a copy's progress on to a callback at that granularity; does nothing without one.
class CopyProgress {
 public:
  CopyProgress(const CopyProgressCallback& callback, std::uint64_t total);

  void Advance(std::uint64_t bytes);
  void Finish();
  // The user asked to stop at a report before the end.
  bool Cancelled() const { return cancelled_; }

 private:
  void Report();

  const CopyProgressCallback& callback_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  std::uint64_t step_;
  std::uint64_t nextReport_;
  bool cancelled_ = false;
};

}  // namespace trelik
