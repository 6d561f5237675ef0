#include "shell/win32/tree_copy.h"

#include <utility>

#include "common/system_error.h"

namespace trelik {
namespace {

constexpr DWORD kChunk = 1 << 18;
// Files written since the last flush, flushed together: the file system then commits their data
// in far fewer journal writes than when each is flushed as soon as it is written.
constexpr std::size_t kFlushBatch = 64;
// The attributes a folder copy keeps; a new folder has none of them.
constexpr DWORD kFolderAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  FileHandle(FileHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle& operator=(FileHandle&&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A written copy of a file, open until it is flushed.
struct Unflushed {
  const TreeEntry* entry;
  FileHandle file;
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
    if (going) FlushWritten();
    unflushed_.clear();
    if (progress_) progress_(total_, total_);
    return std::move(result_);
  }

 private:
  bool Report() {
    if (!progress_ || progress_(done_, total_)) return true;
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
    const FileHandle source(CreateFileA((from_ + "\\" + entry.path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
    basic.FileAttributes = entry.attributes != 0 ? entry.attributes : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(copy.Get(), FileBasicInfo, &basic, sizeof basic)) {
      return Fail(entry, LastSystemError(), true);
    }
    unflushed_.push_back({&entry, std::move(copy)});
    if (unflushed_.size() >= kFlushBatch && !FlushWritten()) return false;
    return Report();
  }

  bool FlushWritten() {
    for (const Unflushed& written : unflushed_) {
      if (!FlushFileBuffers(written.file.Get())) {
        return Fail(*written.entry, LastSystemError(), true);
      }
    }
    unflushed_.clear();
    return true;
  }

  const std::string& from_;
  const std::string& to_;
  const CopyProgressReport& progress_;
  std::vector<char> buffer_;
  std::vector<Unflushed> unflushed_;
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
