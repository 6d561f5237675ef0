#include "library/file_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/path_parts.h"
#include "common/posix/unique_fd.h"
#include "common/system_error.h"

namespace trelik {
namespace {

EntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  return EntryKind::kOther;
}

std::error_code WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return LastSystemError();
    if (written == 0) return std::make_error_code(std::errc::no_space_on_device);
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace

FolderEntries ReadFolderEntries(const std::string& folder) {
  FolderEntries result;
  const UniqueFd opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  DIR* listing = opened.IsOpen() ? ::fdopendir(::dup(opened.Get())) : nullptr;
  if (listing == nullptr) return {.failure = LastSystemError()};
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (entry == nullptr) {
      if (errno != 0) result.failure = LastSystemError();
      break;
    }
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (::fstatat(opened.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      result.failure = LastSystemError();
      break;
    }
    result.entries.push_back(
        {name, KindOf(info.st_mode), static_cast<std::uint64_t>(info.st_size)});
  }
  ::closedir(listing);
  return result;
}

std::error_code RewriteFile(const std::string& path, std::string_view contents) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return LastSystemError();
  if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
  std::string temporary = DirectoryPart(path, kPosixSeparators) + "." +
                          FileNamePart(path, kPosixSeparators).substr(0, 64) + ".XXXXXX";
  UniqueFd file(::mkstemp(temporary.data()));
  if (!file.IsOpen()) return LastSystemError();
  std::error_code error = WriteAll(file.Get(), contents);
  if (!error && (::fchmod(file.Get(), info.st_mode & 07777) != 0 || ::fsync(file.Get()) != 0)) {
    error = LastSystemError();
  }
  if (!error && !file.Close()) error = LastSystemError();
  if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = LastSystemError();
  if (error) ::unlink(temporary.c_str());
  return error;
}

}  // namespace trelik
