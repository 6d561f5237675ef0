#include "shell/posix/folder_copy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

#include "common/path_parts.h"
#include "shell/copy_name.h"
#include "shell/posix/destination_folder.h"
#include "shell/posix/folder_listing.h"
#include "shell/posix/rename_no_replace.h"
#include "shell/posix/tree_removal.h"
#include "shell/posix/unique_fd.h"

namespace trelik {
namespace {

// Large enough that the kernel copies efficiently, small enough for a moving progress bar.
constexpr std::size_t kCopyChunk = 8 << 20;
// Bounds the retries when other programs keep taking the names we choose.
constexpr int kNameAttempts = 100;

UniqueFd OpenFolderAt(int parent, const std::string& name) {
  return UniqueFd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The names in a folder apart from "." and ".."; nullopt when it cannot be read completely.
std::optional<std::vector<std::string>> ReadEntries(int folder) {
  std::vector<std::string> names;
  if (!ReadFolderNames(folder, names)) return std::nullopt;
  std::erase_if(names, IsDotEntry);
  return names;
}

// The bytes of regular-file content in a folder tree, for the progress total.
std::uint64_t ContentBytes(int folder) {
  std::uint64_t total = 0;
  for (const std::string& name : ReadEntries(folder).value_or(std::vector<std::string>())) {
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

bool CopyFileData(int from, int to, CopyProgress& progress) {
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
    if (copied < 0) return false;
    if (copied == 0) return true;
    progress.Advance(static_cast<std::uint64_t>(copied));
  }
}

bool CopyRegularFile(int fromFolder, int toFolder, const std::string& name,
                     CopyProgress& progress) {
  // Non-blocking, so that an entry swapped for a pipe since it was examined cannot hang us.
  UniqueFd from(::openat(fromFolder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (!from.IsOpen() || ::fstat(from.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  UniqueFd to(::openat(toFolder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       S_IRUSR | S_IWUSR));
  if (!to.IsOpen() || !CopyFileData(from.Get(), to.Get(), progress)) return false;
  KeepAttributes(to.Get(), info);
  return to.Close();
}

bool CopySymbolicLink(int fromFolder, int toFolder, const std::string& name,
                      const struct stat& info) {
  std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
  for (;;) {
    const ssize_t length = ::readlinkat(fromFolder, name.c_str(), target.data(), target.size());
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      break;
    }
    target.resize(target.size() * 2);  // the link changed since it was examined
  }
  if (::symlinkat(target.c_str(), toFolder, name.c_str()) != 0) return false;
  const timespec times[2] = {info.st_atim, info.st_mtim};
  ::utimensat(toFolder, name.c_str(), times, AT_SYMLINK_NOFOLLOW);
  return true;
}

bool CopyContent(int from, int to, CopyProgress& progress);

bool CopySubfolder(int fromFolder, int toFolder, const std::string& name, CopyProgress& progress) {
  const UniqueFd from = OpenFolderAt(fromFolder, name);
  struct stat info {};
  if (!from.IsOpen() || ::fstat(from.Get(), &info) != 0 ||
      ::mkdirat(toFolder, name.c_str(), S_IRWXU) != 0) {
    return false;
  }
  const UniqueFd to = OpenFolderAt(toFolder, name);
  if (!to.IsOpen() || !CopyContent(from.Get(), to.Get(), progress)) return false;
  // Only now: adding the content changed the folder's time, and may need its write permission.
  KeepAttributes(to.Get(), info);
  return true;
}

// Copies everything in the folder open as `from` into the empty folder open as `to`.
bool CopyContent(int from, int to, CopyProgress& progress) {
  const auto names = ReadEntries(from);
  if (!names) return false;
  for (const std::string& name : *names) {
    struct stat info {};
    if (::fstatat(from, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    bool copied = false;
    if (S_ISREG(info.st_mode)) {
      copied = CopyRegularFile(from, to, name, progress);
    } else if (S_ISDIR(info.st_mode)) {
      copied = CopySubfolder(from, to, name, progress);
    } else if (S_ISLNK(info.st_mode)) {
      copied = CopySymbolicLink(from, to, name, info);
    }
    // Pipes, sockets and devices cannot be copied as such: the copy as a whole fails rather
    // than arriving without them.
    if (!copied) return false;
  }
  return true;
}

std::optional<std::string> MakeTemporaryFolder(int destination, const std::string& name) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  // Part of the name is kept so that a user who sees the folder knows what it is, but not so
  // much that the temporary name outgrows the longest name the file system allows.
  std::string prefix(".");
  prefix.append(name.substr(0, 64)).append(".trelik-copy-");
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string candidate = prefix;
    for (int letter = 0; letter < 6; ++letter) candidate.push_back(kLetters[pick(random)]);
    if (::mkdirat(destination, candidate.c_str(), S_IRWXU) == 0) return candidate;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

// Gives the finished copy the first free name; should another program take that name before
// the rename, the next free one is chosen.
std::optional<std::string> MoveIntoPlace(int destination, const std::string& temporary,
                                         const std::string& name) {
  const auto isTaken = [destination](const std::string& candidate) {
    struct stat info {};
    return ::fstatat(destination, candidate.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
  };
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string chosen = FreeCopyName(name, isTaken);
    if (RenameNoReplace(destination, temporary, destination, chosen)) return chosen;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

// Builds the copy under a temporary name and moves it into place; a failed copy is removed.
std::optional<std::string> CopyIntoDestination(int source, const struct stat& sourceInfo,
                                               int destination, const std::string& name,
                                               CopyProgress& progress) {
  const auto temporary = MakeTemporaryFolder(destination, name);
  if (!temporary) return std::nullopt;
  const UniqueFd copy = OpenFolderAt(destination, *temporary);
  if (copy.IsOpen() && CopyContent(source, copy.Get(), progress)) {
    KeepAttributes(copy.Get(), sourceInfo);
    if (auto chosen = MoveIntoPlace(destination, *temporary, name)) return chosen;
  }
  RemoveTree(destination, *temporary);
  return std::nullopt;
}

std::string LastComponent(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return FileNamePart(path, kPosixSeparators);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path.append(name);
}

}  // namespace

std::optional<std::string> CopyFolderTree(const std::string& source, const std::string& destDir,
                                          const CopyProgressCallback& onProgress) {
  const std::string name = LastComponent(source);
  if (name.empty() || IsDotEntry(name)) return std::nullopt;
  const UniqueFd from(::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat sourceInfo {};
  if (!from.IsOpen() || ::fstat(from.Get(), &sourceInfo) != 0) return std::nullopt;

  DestinationFolder destination;
  if (!destination.Open(destDir, sourceInfo)) return std::nullopt;
  CopyProgress progress(onProgress, onProgress ? ContentBytes(from.Get()) : 0);
  const auto chosen =
      CopyIntoDestination(from.Get(), sourceInfo, destination.Get(), name, progress);
  // The end is reported whatever the outcome, so that a progress window closes.
  progress.Finish();
  if (!chosen) {
    destination.TakeBack();
    return std::nullopt;
  }
  return JoinPath(destDir, *chosen);
}

}  // namespace trelik
