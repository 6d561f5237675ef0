#include "library/file_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/posix/unique_fd.h"
#include "common/system_error.h"
#include "library/posix/folders.h"
#include "library/posix/replace_beside.h"

namespace trelik {
namespace {

EntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  return EntryKind::kOther;
}

}  // namespace

FolderEntries ReadFolderEntries(const std::string& folder) {
  const UniqueFd opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!opened.IsOpen()) return {.failure = LastSystemError()};
  std::vector<std::string> names;
  FolderEntries result{.failure = ReadFolderNames(opened.Get(), names)};
  for (const auto& name : names) {
    if (IsDotEntry(name)) continue;
    struct stat info {};
    if (::fstatat(opened.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      result.failure = LastSystemError();
      break;
    }
    result.entries.push_back(
        {name, KindOf(info.st_mode), static_cast<std::uint64_t>(info.st_size)});
  }
  return result;
}

std::error_code RewriteFile(const std::string& path, std::string_view contents) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return LastSystemError();
  if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
  // A filled file is the project's own: its user may write it, even when the template's was not.
  const auto failure = ReplaceBeside(path, contents, (info.st_mode & 07777) | S_IWUSR);
  return failure ? failure->error : std::error_code();
}

}  // namespace trelik
