#include "shell/win32/tree_copy.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "common/system_error.h"
#include "common/win32/file_handle.h"

namespace trelik {
namespace {

constexpr DWORD kChunk = 1 << 18;
// Flushes in flight at once: the file system commits those that wait together in one journal
// write, where flushed one after another each waits for a disk write of its own.
constexpr int kFlushers = 4;
// How often the progress is told while the last flushes are waited for.
constexpr std::chrono::milliseconds kFlushWaitStep{50};
// The attributes a folder copy keeps; a new folder has none of them.
constexpr DWORD kFolderAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// The attributes a file copy keeps: those a program may set. The others (a link's, compression,
// encryption) belong to how the template's file is stored, not to its content.
constexpr DWORD kFileAttributes = kFolderAttributes | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_TEMPORARY;

// A written copy of a file, open until it is flushed.
struct Unflushed {
  const TreeEntry* entry;
  FileHandle file;
};

// Flushes the written copies on threads of its own while the copy goes on, and closes them.
class Flusher {
 public:
  Flusher() {
    for (int thread = 0; thread < kFlushers; ++thread) threads_.emplace_back([this] { Work(); });
  }
  ~Flusher() { Finish(true); }
  Flusher(const Flusher&) = delete;
  Flusher& operator=(const Flusher&) = delete;

  void Add(const TreeEntry& entry, FileHandle file) {
    {
      const std::lock_guard lock(mutex_);
      waiting_.push_back({&entry, std::move(file)});
    }
    ready_.notify_one();
  }

  bool Failed() {
    const std::lock_guard lock(mutex_);
    return failure_.has_value();
  }

  // Waits up to `wait` for every copy handed in to be flushed and closed; true once they are.
  bool WaitUntilFlushed(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    return flushed_.wait_for(lock, wait, [this] { return waiting_.empty() && busy_ == 0; });
  }

  // Waits until every copy is flushed and closed, or with `discard` closed at once; the first
  // failure, if any.
  std::optional<TreeCopyFailure> Finish(bool discard) {
    {
      const std::lock_guard lock(mutex_);
      ending_ = true;
      discard_ = discard;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_) {
      if (thread.joinable()) thread.join();
    }
    return failure_;
  }

 private:
  void Work() {
    for (;;) {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
      if (waiting_.empty()) return;
      std::optional<Unflushed> written(std::move(waiting_.front()));
      waiting_.pop_front();
      const bool flush = !discard_ && !failure_;
      ++busy_;
      lock.unlock();
      std::error_code error;
      if (flush && !FlushFileBuffers(written->file.Get())) error = LastSystemError();
      const std::string path = written->entry->path;
      written.reset();  // closed before it counts as done
      lock.lock();
      if (error && !failure_) failure_ = TreeCopyFailure{path, error, true};
      --busy_;
      flushed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable ready_;
  std::condition_variable flushed_;
  std::deque<Unflushed> waiting_;
  int busy_ = 0;
  bool ending_ = false;
  bool discard_ = false;
  std::optional<TreeCopyFailure> failure_;
  std::vector<std::thread> threads_;
};

class TreeCopier {
 public:
  TreeCopier(const std::string& from, const std::string& to, const CopyProgressReport& progress)
      : from_(from), to_(to), progress_(progress), buffer_(kChunk) {}

  TreeCopyResult Run(const std::vector<TreeEntry>& entries) {
    for (const TreeEntry& entry : entries) total_ += entry.size;
    bool going = Report();
    for (auto entry = entries.begin(); going && entry != entries.end(); ++entry) {
      going = entry->folder ? MakeFolder(*entry) : CopyOneFile(*entry);
    }
    // The window keeps being drawn and heard while the last flushes are waited for.
    while (going && !flusher_.WaitUntilFlushed(kFlushWaitStep)) going = Report();
    if (auto failure = flusher_.Finish(!going)) {
      if (!result_.failure) result_.failure = std::move(failure);
    }
    if (progress_) progress_(total_ + 1, total_ + 1);
    return std::move(result_);
  }

 private:
  // The total has one unit more than the content's bytes, done once the copy is flushed.
  bool Report() {
    if (!progress_ || progress_(done_, total_ + 1)) return true;
    result_.cancelled = true;
    return false;
  }

  bool Fail(const TreeEntry& entry, std::error_code error, bool inCopy) {
    result_.failure = TreeCopyFailure{entry.path, error, inCopy};
    return false;
  }

  bool MakeFolder(const TreeEntry& entry) {
    const std::string path = to_ + "\\" + entry.path;
    if (!CreateDirectoryA(path.c_str(), nullptr)) return Fail(entry, LastSystemError(), true);
    const DWORD kept = entry.attributes & kFolderAttributes;
    if (kept != 0 && !SetFileAttributesA(path.c_str(), kept)) {
      return Fail(entry, LastSystemError(), true);
    }
    return true;
  }

  bool CopyOneFile(const TreeEntry& entry) {
    // As the system's own copy opens it: a file another program writes meanwhile fails the
    // size check instead of the open.
    const FileHandle source(CreateFileA((from_ + "\\" + entry.path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.Valid()) return Fail(entry, LastSystemError(), false);
    FileHandle copy(CreateFileA((to_ + "\\" + entry.path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!copy.Valid()) return Fail(entry, LastSystemError(), true);
    std::uint64_t copied = 0;
    for (;;) {
      DWORD read = 0;
      if (!ReadFile(source.Get(), buffer_.data(), kChunk, &read, nullptr)) {
        return Fail(entry, LastSystemError(), false);
      }
      if (read == 0) break;
      DWORD written = 0;
      if (!WriteFile(copy.Get(), buffer_.data(), read, &written, nullptr)) {
        return Fail(entry, LastSystemError(), true);
      }
      copied += written;
      done_ += written;
      if (read == kChunk && !Report()) return false;
    }
    if (copied != entry.size) return Fail(entry, {}, false);
    // Set through the handle, which stays open for writing: a read-only copy is still flushed.
    FILE_BASIC_INFO basic{};
    basic.LastWriteTime.LowPart = entry.lastWrite.dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(entry.lastWrite.dwHighDateTime);
    const DWORD kept = entry.attributes & kFileAttributes;
    basic.FileAttributes = kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(copy.Get(), FileBasicInfo, &basic, sizeof basic)) {
      return Fail(entry, LastSystemError(), true);
    }
    flusher_.Add(entry, std::move(copy));
    return !flusher_.Failed() && Report();
  }

  const std::string& from_;
  const std::string& to_;
  const CopyProgressReport& progress_;
  std::vector<char> buffer_;
  Flusher flusher_;
  std::uint64_t total_ = 0;
  std::uint64_t done_ = 0;
  TreeCopyResult result_;
};

}  // namespace

TreeCopyResult CopyTree(const std::string& from, const std::string& to,
                        const std::vector<TreeEntry>& entries, const CopyProgressReport& progress) {
  return TreeCopier(from, to, progress).Run(entries);
}

}  // namespace trelik
