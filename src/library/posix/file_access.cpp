#include "library/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "common/path_parts.h"
#include "common/posix/unique_fd.h"
#include "common/system_error.h"
#include "library/posix/folders.h"
#include "library/posix/replace_beside.h"

namespace trelik {
namespace {

// A symbolic link keeps pointing where it did: the file it names is the one replaced.
std::string ResolveLink(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
      ::realpath(path.c_str(), resolved) != nullptr) {
    return resolved;
  }
  return path;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Reads up to `limit` bytes. A file of Trelik's own must be a regular file of at most `limit`
// bytes: a link to a device or a pipe would otherwise never end.
FileRead ReadUpTo(const std::string& path, std::size_t limit, bool ownFile) {
  // Non-blocking, so that a pipe given in place of a file cannot hang the program.
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file.IsOpen()) return {.failure = LastSystemError()};
  struct stat info {};
  if (ownFile && ::fstat(file.Get(), &info) != 0) return {.failure = LastSystemError()};
  if (ownFile && !S_ISREG(info.st_mode)) return {.failure = MakeErrorCode(FileDamage::kNotRegular)};
  if (ownFile && static_cast<std::uint64_t>(info.st_size) > limit) {
    return {.failure = MakeErrorCode(FileDamage::kTooLarge)};
  }
  const std::size_t wanted = ownFile ? limit + 1 : limit;  // one more shows a file that grew
  FileRead read;
  char buffer[65536];
  while (read.bytes.size() < wanted) {
    const ssize_t count =
        ::read(file.Get(), buffer, std::min(sizeof buffer, wanted - read.bytes.size()));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return {.failure = LastSystemError()};
    if (count == 0) break;
    read.bytes.append(buffer, static_cast<std::size_t>(count));
  }
  if (read.bytes.size() > limit) return {.failure = MakeErrorCode(FileDamage::kTooLarge)};
  return read;
}

}  // namespace

FileRead ReadWholeFile(const std::string& path) { return ReadUpTo(path, kOwnFileLimit, true); }

FileRead ReadFileStart(const std::string& path, std::size_t limit) {
  return ReadUpTo(path, limit, false);
}

bool IsMissingFile(const std::error_code& failure) {
  return failure == std::errc::no_such_file_or_directory;
}

std::optional<ReplaceFailure> ReplaceFileAtomically(const std::string& path,
                                                    std::string_view contents) {
  const std::string target = ResolveLink(path);
  const std::string folder = DirectoryPart(target, kPosixSeparators);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // A file the user made read-only stays as it is, as writing it in place would.
  if (exists && ::access(target.c_str(), W_OK) != 0) return ReplaceFailure{LastSystemError()};
  if (const auto made = CreateMissingFolders(folder, 0755); made.failure) {
    return ReplaceFailure{made.failure};
  }

  const mode_t mode = exists ? existing.st_mode & 07777 : NewFileMode();
  if (auto failure = ReplaceBeside(target, contents, mode)) return failure;
  UniqueFd folderHandle(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
  if (folderHandle.IsOpen()) ::fsync(folderHandle.Get());
  return std::nullopt;
}

std::string AbsolutePath(const std::string& path) {
  if (path.starts_with('/')) return path;
  char current[PATH_MAX];
  if (::getcwd(current, sizeof current) == nullptr) return path;
  return std::string(current) + "/" + path;
}

}  // namespace trelik
