#include "support/fake_shell.h"

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <utility>

#include "shell/copy_name.h"
#include "support/rename_without_replacing.h"

namespace trelik::testing {
namespace fs = std::filesystem;
namespace {

// '*' stands for any run of characters, '?' for any one; the rest match themselves, case and all.
bool MatchesWildcard(std::string_view wildcard, std::string_view name) {
  if (wildcard.empty()) return name.empty();
  if (wildcard.front() == '*') {
    for (std::size_t skipped = 0; skipped <= name.size(); ++skipped) {
      if (MatchesWildcard(wildcard.substr(1), name.substr(skipped))) return true;
    }
    return false;
  }
  return !name.empty() && (wildcard.front() == '?' || wildcard.front() == name.front()) &&
         MatchesWildcard(wildcard.substr(1), name.substr(1));
}

}  // namespace

CopyResult FakeShell::CopyFolder(NativeWindow, const std::string& source,
                                 const std::string& destDir, const CopyFinish& finish,
                                 const std::string& wantedName) {
  if (std::exchange(preparedCopy, {}) == source + " -> " + destDir) ++adoptedCopies;
  std::error_code error;
  if (!copyFailure.empty()) return {std::nullopt, copyFailure};
  if (cancelCopies) return {.cancelled = true};
  if (!fs::is_directory(source, error)) return {std::nullopt, "no folder: " + source};
  fs::create_directories(destDir, error);
  const std::string name = fs::path(source).filename().string();
  const auto isTaken = [&](const std::string& candidate) {
    return fs::exists(fs::path(destDir) / candidate, error);
  };
  std::string free = ArrivalName(name, wantedName, isTaken);
  // Staged under a hidden name and moved into place whole, as the real shells do.
  const fs::path staging = fs::path(destDir) / (std::string(kStagingPrefix) + name);
  fs::copy(source, staging, fs::copy_options::recursive, error);
  std::string failure = error ? error.message() : "";
  if (!error && finish) failure = finish(staging.string(), free);
  if (failure.empty()) {
    std::error_code wantedFailure;
    if (!wantedName.empty() && free != wantedName) {
      wantedFailure = std::make_error_code(std::errc::file_exists);
    } else if (!wantedName.empty()) {
      wantedFailure = RenameWithoutReplacing(staging.string(), (fs::path(destDir) / free).string());
      if (!wantedFailure) return {.arrivedAt = (fs::path(destDir) / free).string()};
      free = FreeCopyName(name, isTaken);
    }
    const fs::path target = fs::path(destDir) / free;
    if (!RenameWithoutReplacing(staging.string(), target.string())) {
      return {.arrivedAt = target.string(), .wantedNameFailure = wantedFailure};
    }
  }
  fs::remove_all(staging, error);
  return {std::nullopt, failure.empty() ? "the copy could not be moved into place" : failure};
}

void FakeShell::PrepareCopy(const std::string& source, const std::string& destDir) {
  preparedCopy = source + " -> " + destDir;
}

bool FakeShell::BrowseForFolder(const std::string& title, std::string& folder) {
  browseTitles.push_back(title);
  folder = pickedFolder;
  return !folder.empty();
}

std::error_code FakeShell::RenamePath(const std::string& oldPath, const std::string& newPath) {
  renamedFrom.push_back(oldPath);
  if (renameFailure) return renameFailure;
  return RenameWithoutReplacing(oldPath, newPath);
}

bool FakeShell::RemoveFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && fs::remove(path, error);
}

bool FakeShell::RemoveFolder(const std::string& path) {
  std::error_code error;
  fs::remove_all(path, error);
  return !error && !fs::exists(fs::symlink_status(path, error));
}

std::error_code FakeShell::ShellOpen(NativeWindow owner, const std::string& verb,
                                     const std::string& target, ShowCommand show) {
  opened.push_back({verb, target, show, owner});
  return openFailure;
}

// Recorded as the Windows viewer is asked for a page of compiled help.
std::error_code FakeShell::OpenHelpTopic(NativeWindow owner, const std::string& helpFile,
                                         const std::string& topic) {
  return ShellOpen(owner, "", helpFile + "::/" + topic, ShowCommand::kShowMaximized);
}

std::vector<std::string> FakeShell::ListFolder(const std::string& pattern) {
  std::vector<std::string> names;
  const fs::path folder = fs::path(pattern).parent_path();
  const std::string wildcard = fs::path(pattern).filename().string();
  std::error_code error;
  if (!fs::is_directory(folder, error)) return names;
  names = {".", ".."};
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  // "*.*" matches every name, names without a dot too, as on Windows.
  if (wildcard != "*.*") {
    std::erase_if(names, [&](const std::string& name) { return !MatchesWildcard(wildcard, name); });
  }
  return names;
}

bool FakeShell::IsExistingFile(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error) && !fs::is_directory(path, error);
}

bool FakeShell::IsExistingFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

std::error_code FakeShell::RewriteFile(const std::string& path, std::string_view contents) {
  if (rewriteFailure) return rewriteFailure;
  return ShellOperations::RewriteFile(path, contents);
}

}  // namespace trelik::testing
