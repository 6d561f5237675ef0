#include "shell/posix/copy_staging.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <random>
#include <vector>

#include "common/system_error.h"
#include "shell/posix/folder_listing.h"
#include "shell/posix/tree_removal.h"

namespace trelik {
namespace {

constexpr std::string_view kMarker = ".trelik-copy-";
constexpr int kRandomLetters = 6;
// Bounds the retries when other programs keep taking the names we choose.
constexpr int kNameAttempts = 100;

bool AllOf(std::string_view text, int (*test)(int)) {
  for (const char c : text) {
    if (!test(static_cast<unsigned char>(c))) return false;
  }
  return !text.empty();
}

// The process id that a staging folder's name carries; nullopt for any other name.
std::optional<pid_t> OwnerOf(std::string_view name) {
  const auto marker = name.rfind(kMarker);
  if (!name.starts_with('.') || marker == std::string_view::npos || marker == 0) {
    return std::nullopt;
  }
  const std::string_view rest = name.substr(marker + kMarker.size());
  const auto dash = rest.find('-');
  if (dash > 9) return std::nullopt;  // no dash, or more digits than a process id has
  const std::string_view pid = rest.substr(0, dash);
  const std::string_view random = rest.substr(dash + 1);
  if (!AllOf(pid, isdigit) || random.size() != kRandomLetters || !AllOf(random, isalnum)) {
    return std::nullopt;
  }
  return static_cast<pid_t>(std::stol(std::string(pid)));
}

bool ProcessIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

bool IsAbandoned(int destination, const std::string& name, pid_t owner) {
  if (!ProcessIsGone(owner)) return false;
  const UniqueFd folder = OpenFolderAt(destination, name);
  struct stat info {};
  return folder.IsOpen() && ::fstat(folder.Get(), &info) == 0 && info.st_uid == ::geteuid() &&
         ::flock(folder.Get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

StagingFolder MakeStagingFolder(int destination, const std::string& name) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  // Part of the name is kept so that a user who sees the folder knows what it is, but not so
  // much that the staging name outgrows the longest name the file system allows.
  std::string prefix(".");
  prefix.append(name.substr(0, 64)).append(kMarker).append(std::to_string(::getpid())) += '-';
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string candidate = prefix;
    for (int letter = 0; letter < kRandomLetters; ++letter) candidate += kLetters[pick(random)];
    if (::mkdirat(destination, candidate.c_str(), S_IRWXU) != 0) {
      if (errno == EEXIST) continue;
      return {.failure = LastSystemError()};
    }
    UniqueFd folder = OpenFolderAt(destination, candidate);
    // A file system without locks still gets its copy; only the clean-up cannot see it then.
    if (folder.IsOpen()) {
      ::flock(folder.Get(), LOCK_EX | LOCK_NB);
      return {.name = candidate, .folder = std::move(folder)};
    }
    const std::error_code openError = LastSystemError();
    ::unlinkat(destination, candidate.c_str(), AT_REMOVEDIR);
    return {.failure = openError};
  }
  return {.failure = std::make_error_code(std::errc::file_exists)};
}

void RemoveAbandonedStagingFolders(int destination) {
  std::vector<std::string> names;
  ReadFolderNames(destination, names);
  for (const std::string& name : names) {
    const auto owner = OwnerOf(name);
    if (owner && IsAbandoned(destination, name, *owner)) RemoveTree(destination, name);
  }
}

}  // namespace trelik
