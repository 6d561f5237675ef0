#include "shell/posix/folder_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "common/path_parts.h"
#include "common/posix/unique_fd.h"
#include "common/system_error.h"
#include "library/posix/folders.h"
#include "shell/copy_name.h"
#include "shell/posix/copy_failure.h"
#include "shell/posix/copy_staging.h"
#include "shell/posix/destination_folder.h"
#include "shell/posix/rename_no_replace.h"
#include "shell/posix/tree_removal.h"
#include "shell/posix/tree_sync.h"

namespace trelik {
namespace {

// Large enough that the kernel copies efficiently, small enough for a moving progress bar.
constexpr std::size_t kCopyChunk = 8 << 20;
// Bounds the retries when other programs keep taking the names we choose.
constexpr int kNameAttempts = 100;

// One copy under way: its progress, and why it failed, in words for the user, recorded where
// the failing call is made.
class CopyJob {
 public:
  CopyJob(CopyProgress& progress, std::string source, std::string destDir)
      : progress(progress), source_(std::move(source)), destDir_(std::move(destDir)) {}

  const std::string& DestDir() const { return destDir_; }

  // The entry at `relative` in the source could not be read.
  bool FailReading(const std::string& relative, const std::error_code& error) {
    return FailWith(CopyFailureText(error, SourcePath(relative)));
  }
  // Writing into the destination failed.
  bool FailWriting(const std::error_code& error) {
    return FailWith(CopyFailureText(error, destDir_));
  }
  bool FailWith(std::string reason) {
    if (failure_.empty()) failure_ = std::move(reason);
    return false;
  }

  std::string SourcePath(const std::string& relative) const {
    return relative.empty() ? source_ : JoinPath(source_, relative, kPosixSeparators);
  }
  const std::string& Failure() const { return failure_; }

  CopyProgress& progress;
  std::size_t filesCopied = 0;
  std::error_code wantedNameFailure;           // why the copy did not take the name wanted for it
  std::vector<SourceStamp>* stamps = nullptr;  // when given, every source entry as it was read

 private:
  std::string source_;
  std::string destDir_;
  std::string failure_;
};

// The names in a folder apart from "." and "..", or why they cannot all be read.
struct FolderEntries {
  std::vector<std::string> names;
  std::error_code failure;
};

FolderEntries ReadEntries(int folder) {
  FolderEntries entries;
  entries.failure = ReadFolderNames(folder, entries.names);
  std::erase_if(entries.names, IsDotEntry);
  return entries;
}

// The bytes of regular-file content in a folder tree, for the progress total.
std::uint64_t ContentBytes(int folder) {
  std::uint64_t total = 0;
  for (const std::string& name : ReadEntries(folder).names) {
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(info.st_mode)) total += static_cast<std::uint64_t>(info.st_size);
    if (!S_ISDIR(info.st_mode)) continue;
    const UniqueFd subfolder = OpenFolderAt(folder, name);
    if (subfolder.IsOpen()) total += ContentBytes(subfolder.Get());
  }
  return total;
}

// The set-user-ID and set-group-ID bits are dropped: the copy belongs to whoever made it, and
// keeping them would hand out that user's rights.
mode_t KeptMode(mode_t mode) { return mode & (S_IRWXU | S_IRWXG | S_IRWXO | S_ISVTX); }

// Permission bits and times are kept where the file system can hold them; a destination that
// cannot (a FAT stick, say) still gets a complete copy.
void KeepAttributes(int copy, const struct stat& original) {
  const timespec times[2] = {original.st_atim, original.st_mtim};
  ::fchmod(copy, KeptMode(original.st_mode));
  ::futimens(copy, times);
}

// A folder of the copy gets its user's write permission whatever the template's mode: the copy
// is filled and renamed inside, and a project made from a read-only library must be usable.
void KeepFolderAttributes(int copy, const struct stat& original) {
  struct stat writable = original;
  writable.st_mode |= S_IWUSR;
  KeepAttributes(copy, writable);
}

// Why copying a file's content failed, and on which side.
struct DataCopyFailure {
  std::error_code error;
  bool whileReading = false;
};

std::optional<DataCopyFailure> CopyFileData(int from, int to, CopyProgress& progress) {
  bool kernelCopy = true;
  for (;;) {
    ssize_t copied = kernelCopy ? ::copy_file_range(from, nullptr, to, nullptr, kCopyChunk, 0)
                                : ::sendfile(to, from, nullptr, kCopyChunk);
    if (copied < 0 && errno == EINTR) continue;
    // copy_file_range is missing on old kernels and refused between some file systems;
    // sendfile copies between any two regular files.
    if (copied < 0 && kernelCopy &&
        (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
      kernelCopy = false;
      continue;
    }
    if (copied < 0) return DataCopyFailure{LastSystemError(), errno == EIO};
    if (copied == 0) return std::nullopt;
    progress.Advance(static_cast<std::uint64_t>(copied));
    if (progress.Cancelled())
      return DataCopyFailure{std::make_error_code(std::errc::operation_canceled)};
  }
}

bool CopyRegularFile(int fromFolder, int toFolder, const std::string& name,
                     const std::string& relative, CopyJob& job) {
  // Non-blocking, so that an entry swapped for a pipe since it was examined cannot hang us.
  UniqueFd from(::openat(fromFolder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (!from.IsOpen() || ::fstat(from.Get(), &info) != 0) {
    return job.FailReading(relative, LastSystemError());
  }
  if (!S_ISREG(info.st_mode)) {
    return job.FailWith("\"" + job.SourcePath(relative) + "\" changed while it was copied");
  }
  UniqueFd to(::openat(toFolder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       S_IRUSR | S_IWUSR));
  if (!to.IsOpen()) return job.FailWriting(LastSystemError());
  if (const auto failure = CopyFileData(from.Get(), to.Get(), job.progress)) {
    return failure->whileReading ? job.FailReading(relative, failure->error)
                                 : job.FailWriting(failure->error);
  }
  KeepAttributes(to.Get(), info);
  ++job.filesCopied;
  return to.Close() || job.FailWriting(LastSystemError());
}

bool CopySymbolicLink(int fromFolder, int toFolder, const std::string& name,
                      const std::string& relative, const struct stat& info, CopyJob& job) {
  std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
  for (;;) {
    const ssize_t length = ::readlinkat(fromFolder, name.c_str(), target.data(), target.size());
    if (length < 0) return job.FailReading(relative, LastSystemError());
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      break;
    }
    target.resize(target.size() * 2);  // the link changed since it was examined
  }
  if (::symlinkat(target.c_str(), toFolder, name.c_str()) != 0) {
    return job.FailWriting(LastSystemError());
  }
  const timespec times[2] = {info.st_atim, info.st_mtim};
  ::utimensat(toFolder, name.c_str(), times, AT_SYMLINK_NOFOLLOW);
  return true;
}

bool CopyContent(int from, int to, const std::string& relative, CopyJob& job);

bool CopySubfolder(int fromFolder, int toFolder, const std::string& name,
                   const std::string& relative, CopyJob& job) {
  const UniqueFd from = OpenFolderAt(fromFolder, name);
  struct stat info {};
  if (!from.IsOpen() || ::fstat(from.Get(), &info) != 0) {
    return job.FailReading(relative, LastSystemError());
  }
  if (::mkdirat(toFolder, name.c_str(), S_IRWXU) != 0) return job.FailWriting(LastSystemError());
  const UniqueFd to = OpenFolderAt(toFolder, name);
  if (!to.IsOpen()) return job.FailWriting(LastSystemError());
  if (!CopyContent(from.Get(), to.Get(), relative, job)) return false;
  // Only now: adding the content changed the folder's time.
  KeepFolderAttributes(to.Get(), info);
  return true;
}

std::string KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "of an unknown kind";
}

// Copies everything in the folder open as `from`, which is `relative` in the source, into the
// empty folder open as `to`.
bool CopyContent(int from, int to, const std::string& relative, CopyJob& job) {
  const FolderEntries entries = ReadEntries(from);
  if (entries.failure) return job.FailReading(relative, entries.failure);
  for (const std::string& name : entries.names) {
    if (job.progress.Cancelled()) return false;
    const std::string entry = relative.empty() ? name : JoinPath(relative, name, kPosixSeparators);
    struct stat info {};
    if (::fstatat(from, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      return job.FailReading(entry, LastSystemError());
    }
    if (job.stamps) job.stamps->push_back({entry, info});
    bool copied = false;
    if (S_ISREG(info.st_mode)) {
      copied = CopyRegularFile(from, to, name, entry, job);
    } else if (S_ISDIR(info.st_mode)) {
      copied = CopySubfolder(from, to, name, entry, job);
    } else if (S_ISLNK(info.st_mode)) {
      copied = CopySymbolicLink(from, to, name, entry, info, job);
    } else {
      // Pipes, sockets and devices cannot be copied as such: the copy as a whole fails rather
      // than arriving without them.
      copied =
          job.FailWith("\"" + entry + "\" is " + KindOf(info.st_mode) + " and cannot be copied");
    }
    if (!copied) return false;
  }
  return true;
}

// The names a copy of `name` may take: the one wanted for it, else the source's own.
struct CopyNames {
  std::string name;
  std::string wanted;
};

// The name the copy takes in the folder open as `destination`, as ArrivalName chooses it.
std::string FreeNameIn(int destination, const CopyNames& names) {
  return ArrivalName(names.name, names.wanted, [destination](const std::string& candidate) {
    struct stat info {};
    return ::fstatat(destination, candidate.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
  });
}

// The folder open as `folder` locked for as long as the object lives, for one copy at a time to
// choose its name and take it. Where the file system has no locks, copies go unordered.
class NamingTurn {
 public:
  explicit NamingTurn(int folder) : folder_(folder) {
    while (::flock(folder_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~NamingTurn() { ::flock(folder_, LOCK_UN); }
  NamingTurn(const NamingTurn&) = delete;
  NamingTurn& operator=(const NamingTurn&) = delete;

 private:
  int folder_;
};

// Gives the finished copy its free name; should another program take that name before the
// rename, the next free one is chosen. A wanted name the file system refuses gives way to the
// source's own.
std::optional<std::string> MoveIntoPlace(int destination, const std::string& staging,
                                         CopyNames names, CopyJob& job) {
  std::error_code error;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string chosen = FreeNameIn(destination, names);
    error = RenameNoReplace(destination, staging, destination, chosen);
    if (!error) {
      if (chosen != names.wanted && !names.wanted.empty() && !job.wantedNameFailure) {
        job.wantedNameFailure = std::make_error_code(std::errc::file_exists);
      }
      return chosen;
    }
    if (chosen == names.wanted && chosen != names.name) {
      job.wantedNameFailure = error;
      names.wanted.clear();
    } else if (error != std::errc::file_exists) {
      break;
    }
  }
  job.FailWriting(error);
  return std::nullopt;
}

// Runs `finish` on the hidden copy; false, its reason recorded, when it fails.
bool Finish(const CopyFinish& finish, const std::string& copyPath, const std::string& arrivalName,
            CopyJob& job) {
  if (!finish) return true;
  std::string failure = finish(copyPath, arrivalName);
  return failure.empty() || job.FailWith(std::move(failure));
}

// Fills, flushes and moves the complete copy in `staging` into place under its free name;
// a copy that fails on the way is removed.
std::optional<std::string> FinishIntoPlace(const StagingFolder& staging,
                                           const struct stat& sourceInfo, int destination,
                                           const CopyNames& names, const CopyFinish& finish,
                                           CopyJob& job) {
  {
    // The name `finish` is told is the one the copy gets unless another program takes it first:
    // Trelik's own copies into this folder wait for their turn.
    const NamingTurn turn(destination);
    if (Finish(finish, JoinPath(job.DestDir(), staging.name, kPosixSeparators),
               FreeNameIn(destination, names), job)) {
      KeepFolderAttributes(staging.folder.Get(), sourceInfo);
      // Flushed before it appears: the launcher is deleted once it has.
      const std::error_code unsynced = SyncTree(staging.folder.Get(), job.filesCopied);
      if (unsynced) {
        job.FailWriting(unsynced);
      } else if (auto chosen = MoveIntoPlace(destination, staging.name, names, job)) {
        return chosen;
      }
    }
  }
  RemoveTree(destination, staging.name);
  return std::nullopt;
}

// Copies what `source` holds into a new staging folder for a copy of `name`, first removing the
// staging folders that killed copies left here before; nullopt, with nothing of it left, when
// that fails or is stopped.
std::optional<StagingFolder> FillStagingFolder(int source, int destination, const std::string& name,
                                               CopyJob& job) {
  RemoveAbandonedStagingFolders(destination);
  StagingFolder staging = MakeStagingFolder(destination, name);
  if (staging.failure) {
    job.FailWriting(staging.failure);
    return std::nullopt;
  }
  // A stop asked for at the last report still stops the copy.
  if (CopyContent(source, staging.folder.Get(), "", job) && !job.progress.Cancelled()) {
    return staging;
  }
  RemoveTree(destination, staging.name);
  return std::nullopt;
}

// Builds the copy in a staging folder and moves it into place; a failed copy is removed.
std::optional<std::string> CopyIntoDestination(int source, const struct stat& sourceInfo,
                                               int destination, const CopyNames& names,
                                               const CopyFinish& finish, CopyJob& job) {
  const auto staging = FillStagingFolder(source, destination, names.name, job);
  if (!staging) return std::nullopt;
  return FinishIntoPlace(*staging, sourceInfo, destination, names, finish, job);
}

}  // namespace

CopyResult CopyFolderTree(const std::string& source, const std::string& destDir,
                          const CopyProgressCallback& onProgress, const CopyFinish& finish,
                          const std::string& wantedName) {
  const std::string name = LastComponent(source, kPosixSeparators);
  if (name.empty() || IsDotEntry(name)) return {std::nullopt, "\"" + source + "\" names no folder"};
  const UniqueFd from(::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat sourceInfo {};
  if (!from.IsOpen() || ::fstat(from.Get(), &sourceInfo) != 0) {
    return {std::nullopt, CopyFailureText(LastSystemError(), source)};
  }

  DestinationFolder destination;
  if (!destination.Open(destDir, sourceInfo)) return {std::nullopt, destination.Failure()};
  CopyProgress progress(onProgress, onProgress ? ContentBytes(from.Get()) : 0);
  CopyJob job(progress, source, destDir.empty() ? "." : destDir);
  const auto chosen = CopyIntoDestination(from.Get(), sourceInfo, destination.Get(),
                                          {name, wantedName}, finish, job);
  // The end is reported whatever the outcome, so that a progress window closes.
  progress.Finish();
  if (!chosen) {
    destination.TakeBack();
    if (progress.Cancelled()) return {.cancelled = true};
    return {std::nullopt, job.Failure()};
  }
  destination.Sync();
  return {.arrivedAt = JoinPath(destDir, *chosen, kPosixSeparators),
          .wantedNameFailure = job.wantedNameFailure};
}

StagedCopy StageCopy(const std::string& source, const std::string& destDir,
                     const CopyProgressCallback& onProgress) {
  StagedCopy staged;
  staged.name = LastComponent(source, kPosixSeparators);
  staged.source = UniqueFd(::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Only a folder that is there already: a missing one is made, or told of, by the copy itself.
  staged.destination = UniqueFd(::open(destDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (staged.name.empty() || IsDotEntry(staged.name) || !staged.source.IsOpen() ||
      !staged.destination.IsOpen() || ::fstat(staged.source.Get(), &staged.sourceInfo) != 0 ||
      LiesWithin(staged.destination.Get(), staged.sourceInfo)) {
    return {};
  }
  staged.startedAt = std::time(nullptr);
  CopyProgress progress(onProgress, onProgress ? ContentBytes(staged.source.Get()) : 0);
  CopyJob job(progress, source, destDir);
  job.stamps = &staged.read;
  auto filled = FillStagingFolder(staged.source.Get(), staged.destination.Get(), staged.name, job);
  progress.Finish();
  if (!filled) return {};
  staged.staging = std::move(*filled);
  staged.filesCopied = job.filesCopied;
  return staged;
}

CopyResult FinishStagedCopy(StagedCopy staged, const std::string& destDir, const CopyFinish& finish,
                            const std::string& wantedName) {
  const CopyProgressCallback unreported;
  CopyProgress progress(unreported, 0);
  CopyJob job(progress, {}, destDir);
  job.filesCopied = staged.filesCopied;
  const int destination = staged.destination.Get();
  const auto chosen = FinishIntoPlace(staged.staging, staged.sourceInfo, destination,
                                      {staged.name, wantedName}, finish, job);
  if (!chosen) return {std::nullopt, job.Failure()};
  SyncFolder(destination);
  return {.arrivedAt = JoinPath(destDir, *chosen, kPosixSeparators),
          .wantedNameFailure = job.wantedNameFailure};
}

}  // namespace trelik
