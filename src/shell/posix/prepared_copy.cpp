#include "shell/posix/prepared_copy.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <utility>

#include "shell/posix/tree_removal.h"
#include "shell/posix/tree_sync.h"

namespace trelik {
namespace {

// How often a wait for the copy tells the progress window, which repaints and hears Cancel then.
constexpr std::chrono::milliseconds kReportEvery{50};

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameEntry(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The coarsest time stamps a file system keeps (FAT's two seconds): a change made within that
// much of the one before may leave the time stamp as it was.
constexpr std::time_t kTimeGrain = 2;

// Anything written, added, removed, renamed or given other permissions changes the entry's
// status time, and its folder's when the entry is added, removed or renamed; an entry changed
// shortly before the copy started could change again unseen, so it counts as changed.
bool Unchanged(const struct stat& now, const struct stat& read, std::time_t copyStarted) {
  return SameEntry(now, read) && now.st_mode == read.st_mode && now.st_size == read.st_size &&
         SameTime(now.st_mtim, read.st_mtim) && SameTime(now.st_ctim, read.st_ctim) &&
         read.st_ctim.tv_sec + kTimeGrain < copyStarted;
}

}  // namespace

PreparedCopy::PreparedCopy(std::string source, std::string destDir)
    : source_(std::move(source)), destDir_(std::move(destDir)) {
  worker_ = std::thread(&PreparedCopy::Run, this);
}

PreparedCopy::~PreparedCopy() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();  // Adopt may have waited for it already
  if (staged_.Staged()) RemoveTree(staged_.destination.Get(), staged_.staging.name);
}

void PreparedCopy::Run() {
  StagedCopy staged = StageCopy(source_, destDir_, [this](std::uint64_t done, std::uint64_t total) {
    done_ = done;
    total_ = total;
    return !stop_;
  });
  // Flushed now, while nobody waits, so that the flush after the filling finds little to write;
  // that one tells of a failure.
  if (staged.Staged() && !stop_) {
    static_cast<void>(SyncTree(staged.staging.folder.Get(), staged.filesCopied));
  }
  const std::lock_guard lock(mutex_);
  staged_ = std::move(staged);
  finished_ = true;
  ended_.notify_all();
}

PreparedCopy::Adoption PreparedCopy::Adopt(const CopyProgressCallback& onProgress) {
  bool reported = false;
  bool cancelled = false;
  std::unique_lock lock(mutex_);
  while (!ended_.wait_for(lock, kReportEvery, [this] { return finished_; })) {
    const std::uint64_t total = total_;
    // Nothing to show before the total is known; the end is reported once the thread has ended.
    if (!onProgress || total == 0 || cancelled) continue;
    lock.unlock();
    reported = true;
    cancelled = !onProgress(std::min<std::uint64_t>(done_, total - 1), total);
    stop_ = cancelled;
    lock.lock();
  }
  lock.unlock();
  worker_.join();
  if (reported) onProgress(total_, total_);
  if (cancelled) return {.cancelled = true};
  if (!staged_.Staged() || !SourceUnchanged(staged_) || !DestinationUnchanged(staged_)) return {};
  return {.staged = std::move(staged_)};
}

bool PreparedCopy::SourceUnchanged(const StagedCopy& staged) const {
  struct stat now {};
  // The path must still name the folder that was copied, itself unchanged.
  if (::stat(source_.c_str(), &now) != 0 || !Unchanged(now, staged.sourceInfo, staged.startedAt)) {
    return false;
  }
  return std::ranges::all_of(staged.read, [&staged](const SourceStamp& entry) {
    struct stat entryNow {};
    return ::fstatat(staged.source.Get(), entry.relative.c_str(), &entryNow, AT_SYMLINK_NOFOLLOW) ==
               0 &&
           Unchanged(entryNow, entry.info, staged.startedAt);
  });
}

bool PreparedCopy::DestinationUnchanged(const StagedCopy& staged) const {
  struct stat named {};
  struct stat opened {};
  struct stat staging {};
  struct stat stagingNamed {};
  return ::stat(destDir_.c_str(), &named) == 0 && ::fstat(staged.destination.Get(), &opened) == 0 &&
         SameEntry(named, opened) && ::fstat(staged.staging.folder.Get(), &staging) == 0 &&
         ::fstatat(staged.destination.Get(), staged.staging.name.c_str(), &stagingNamed,
                   AT_SYMLINK_NOFOLLOW) == 0 &&
         SameEntry(staging, stagingNamed);
}

}  // namespace trelik
