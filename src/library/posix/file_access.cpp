#include "library/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/path_parts.h"
#include "common/posix/unique_fd.h"
#include "common/system_error.h"

namespace trelik {
namespace {

bool CreateFolders(const std::string& folder) {
  if (folder.empty() || ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST) return true;
  if (errno != ENOENT) return false;
  const std::string parent =
      DirectoryPart(WithoutTrailingSeparators(folder, kPosixSeparators), kPosixSeparators);
  return parent != folder && CreateFolders(parent) &&
         (::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST);
}

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

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& systemError) {
  // Non-blocking, so that a pipe in place of the file cannot hang the program.
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file.IsOpen()) {
    systemError = LastSystemErrorText();
    return std::nullopt;
  }
  std::string contents;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      systemError = LastSystemErrorText();
      return std::nullopt;
    }
    if (count == 0) return contents;
    contents.append(buffer, static_cast<std::size_t>(count));
  }
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit,
                                         std::string& systemError) {
  // Non-blocking, so that a pipe given in place of a file cannot hang us.
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  std::string contents(limit, '\0');
  std::size_t filled = 0;
  while (file.IsOpen() && filled < limit) {
    const ssize_t count = ::read(file.Get(), contents.data() + filled, limit - filled);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) break;
    if (count == 0) {
      contents.resize(filled);
      return contents;
    }
    filled += static_cast<std::size_t>(count);
  }
  if (file.IsOpen() && filled == limit) return contents;
  systemError = LastSystemErrorText();
  return std::nullopt;
}

ReplaceOutcome ReplaceFileAtomically(const std::string& path, std::string_view contents,
                                     std::string& systemError) {
  const std::string target = ResolveLink(path);
  const std::string folder = DirectoryPart(target, kPosixSeparators);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // A file the user made read-only stays as it is, as writing it in place would.
  if ((exists && ::access(target.c_str(), W_OK) != 0) || !CreateFolders(folder)) {
    systemError = LastSystemErrorText();
    return ReplaceOutcome::kCannotCreate;
  }

  std::string temporary = folder + "." + FileNamePart(target, kPosixSeparators) + ".XXXXXX";
  UniqueFd file(::mkstemp(temporary.data()));
  if (!file.IsOpen()) {
    systemError = LastSystemErrorText();
    return ReplaceOutcome::kCannotCreate;
  }
  const mode_t mode = exists ? existing.st_mode & 07777 : NewFileMode();
  if (!WriteAll(file.Get(), contents) || ::fchmod(file.Get(), mode) != 0 ||
      ::fsync(file.Get()) != 0) {
    systemError = LastSystemErrorText();
    ::unlink(temporary.c_str());
    return ReplaceOutcome::kShortWrite;
  }
  file.Close();  // after fsync nothing written can be lost by close any more
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    systemError = LastSystemErrorText();
    ::unlink(temporary.c_str());
    return ReplaceOutcome::kCannotCreate;
  }
  UniqueFd folderHandle(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
  if (folderHandle.IsOpen()) ::fsync(folderHandle.Get());
  return ReplaceOutcome::kReplaced;
}

std::string AbsolutePath(const std::string& path) {
  if (path.starts_with('/')) return path;
  char current[PATH_MAX];
  if (::getcwd(current, sizeof current) == nullptr) return path;
  return std::string(current) + "/" + path;
}

}  // namespace trelik
