#include "shell/win32/folder_copy.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "common/path_parts.h"
#include "common/system_error.h"
#include "library/file_access.h"
#include "library/user_folders.h"
#include "shell/copy_name.h"
#include "shell/staging_name.h"
#include "shell/win32/staging_folder.h"
#include "shell/win32/tree_copy.h"
#include "shell/win32/tree_listing.h"

namespace trelik {
namespace {

// Bounds the retries when other programs keep taking the names we choose.
constexpr int kNameAttempts = 100;
// The longest paths the system's ANSI calls take: MAX_PATH counts the terminating null, and a
// folder must leave room for an 8.3 name inside it.
constexpr std::size_t kLongestFilePath = MAX_PATH - 1;
constexpr std::size_t kLongestFolderPath = MAX_PATH - 13;

std::string FailureText(const std::error_code& error, const std::string& path) {
  return SystemErrorText(error) + ": " + path;
}

enum class NameState { kFree, kTaken, kUnknown };

struct NameProbe {
  NameState state;
  std::error_code error;  // why the state is unknown
};

NameProbe ProbeName(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return {NameState::kTaken};
  const std::error_code error = LastSystemError();
  if (error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND) {
    return {NameState::kFree};
  }
  return {NameState::kUnknown, error};
}

// The names a copy may take: the one wanted for it, else the source's own; and why it did not
// take the wanted one.
struct CopyNames {
  std::string name;
  std::string wanted;
  std::error_code wantedFailure;
};

// True when `folder` is `root` or lies inside it, as file names compare.
bool IsWithin(const std::string& folder, const std::string& root) {
  return AsFolder(ComparablePath(folder), kWindowsSeparators)
      .starts_with(AsFolder(ComparablePath(root), kWindowsSeparators));
}

// The name the copy takes in `folder`, as ArrivalName chooses it. A wanted name whose state
// cannot be told (one the system refuses) gives way to the source's own, its reason kept;
// nullopt when the state of another name cannot be told, since it might be someone's entry.
std::optional<std::string> FreeNameIn(const std::string& folder, CopyNames& names) {
  if (!names.wanted.empty()) {
    const NameProbe wanted = ProbeName(folder + names.wanted);
    if (wanted.state == NameState::kUnknown) {
      names.wantedFailure = wanted.error;
      names.wanted.clear();
    }
  }
  bool unknown = false;
  const auto isTaken = [&](const std::string& candidate) {
    const NameState state = ProbeName(folder + candidate).state;
    unknown = unknown || state == NameState::kUnknown;
    return state == NameState::kTaken;
  };
  std::string chosen = ArrivalName(names.name, names.wanted, isTaken);
  if (unknown) return std::nullopt;
  return chosen;
}

std::string CannotExamine(const std::string& folder) {
  return "\"" + folder + "\" cannot be examined";
}

// The first path of the copy rooted at `root` that passes the system's limit, if any.
std::optional<std::string> TooLongPath(const std::string& root,
                                       const std::vector<TreeEntry>& entries) {
  if (root.size() > kLongestFolderPath) return root;
  for (const TreeEntry& entry : entries) {
    const std::string path = root + "\\" + entry.path;
    if (path.size() > (entry.folder ? kLongestFolderPath : kLongestFilePath)) return path;
  }
  return std::nullopt;
}

// Makes the folders missing on the way to `folder`, remembering them so that a failed copy
// can take them back; the system's reason when one cannot be made.
class DestinationFolders {
 public:
  std::string Make(const std::string& folder) {
    std::vector<std::string> missing;  // deepest first
    std::string existing = WithoutTrailingSeparators(folder, kWindowsSeparators);
    while (!existing.empty() && ProbeName(existing).state == NameState::kFree) {
      missing.push_back(existing);
      existing = WithoutTrailingSeparators(DirectoryPart(existing, kWindowsSeparators),
                                           kWindowsSeparators);
    }
    for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
      if (!CreateDirectoryA(path->c_str(), nullptr)) {
        const std::error_code error = LastSystemError();
        TakeBack();
        return FailureText(error, *path);
      }
      created_.push_back(*path);
    }
    return {};
  }

  // Removes the folders made, deepest first; one that is no longer empty stays.
  void TakeBack() {
    for (auto path = created_.rbegin(); path != created_.rend(); ++path) {
      RemoveDirectoryA(path->c_str());
    }
    created_.clear();
  }

 private:
  std::vector<std::string> created_;
};

// Moves the staged copy into `folder` under the name FreeNameIn gives, trying the next one
// when another program takes it first; a wanted name the system refuses gives way to the
// source's own. The name it got, or nullopt with `failure` telling why.
std::optional<std::string> MoveIntoPlace(const std::string& staging, const std::string& folder,
                                         CopyNames& names, std::string& failure) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const auto chosen = FreeNameIn(folder, names);
    if (!chosen) {
      failure = CannotExamine(folder);
      return std::nullopt;
    }
    if (MoveFileExA(staging.c_str(), (folder + *chosen).c_str(), 0)) {
      if (!names.wanted.empty() && *chosen != names.wanted && !names.wantedFailure) {
        names.wantedFailure = std::make_error_code(std::errc::file_exists);
      }
      return chosen;
    }
    std::error_code error = LastSystemError();
    if (error.value() == ERROR_ALREADY_EXISTS || error.value() == ERROR_FILE_EXISTS) {
      error = std::make_error_code(std::errc::file_exists);
    }
    if (*chosen == names.wanted && *chosen != names.name) {
      names.wantedFailure = error;
      names.wanted.clear();
    } else if (error != std::errc::file_exists) {
      failure = FailureText(error, folder + *chosen);
      return std::nullopt;
    }
  }
  failure = "No free name for the copy could be found in " + folder;
  return std::nullopt;
}

// The template's own folder attributes, which also lift the staging folder's hidden flag.
void KeepAttributes(const std::string& copy, DWORD sourceAttributes) {
  const DWORD attributes = sourceAttributes & ~FILE_ATTRIBUTE_DIRECTORY;
  SetFileAttributesA(copy.c_str(), attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Trelik's copies into one folder take turns from choosing the name through the move, so that
// `finish` is told the name the copy gets: a mutex named after the folder is held while the
// object lives. One that a killed copy held is handed on by the system.
class NamingTurn {
 public:
  explicit NamingTurn(const std::string& folder) {
    const std::size_t key = std::hash<std::string>{}(ComparablePath(folder));
    mutex_ = CreateMutexA(nullptr, FALSE, ("Local\\trelik-copy-" + std::to_string(key)).c_str());
    if (mutex_ != nullptr) WaitForSingleObject(mutex_, INFINITE);
  }
  ~NamingTurn() {
    if (mutex_ == nullptr) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  NamingTurn(const NamingTurn&) = delete;
  NamingTurn& operator=(const NamingTurn&) = delete;

 private:
  HANDLE mutex_;
};

// Why the copy into the staging folder failed, naming the template's file, or for a failure on
// the copy's side, the folder the copy was going into.
std::string CopyFailureText(const TreeCopyFailure& failure, const std::string& from,
                            const std::string& folder) {
  const std::string file = from + "\\" + failure.path;
  if (!failure.error) return "\"" + file + "\" did not arrive whole in the copy";
  return FailureText(failure.error,
                     failure.inCopy ? WithoutTrailingSeparators(folder, kWindowsSeparators) : file);
}

// Runs `finish` on the checked copy and moves it into place, in the folder's naming turn; the
// name it arrived under, or nullopt with `failure` telling why.
std::optional<std::string> FinishAndMove(StagingFolder& staging, const std::string& folder,
                                         CopyNames& names, const CopyFinish& finish,
                                         DWORD sourceAttributes, std::string& failure) {
  const NamingTurn turn(folder);
  // The name the copy gets unless a program other than Trelik takes it first.
  const auto arrivalName = FreeNameIn(folder, names);
  if (!arrivalName) {
    failure = CannotExamine(folder);
    return std::nullopt;
  }
  if (finish) failure = finish(staging.Path(), *arrivalName);
  if (!failure.empty()) return std::nullopt;
  KeepAttributes(staging.Path(), sourceAttributes);
  staging.Unlock();
  return MoveIntoPlace(staging.Path(), folder, names, failure);
}

// Fills a staging folder and moves it into place; the name it arrived under, or nullopt with
// `result` telling why. The staging folder is gone either way.
std::optional<std::string> StageAndMove(const CopyProgressReport& progress, const std::string& from,
                                        DWORD sourceAttributes, const TreeListing& tree,
                                        const std::string& folder, const CopyFinish& finish,
                                        CopyNames& names, CopyResult& result) {
  RemoveAbandonedStagingFolders(folder);
  StagingFolder staging(folder, names.name);
  if (staging.Path().empty()) {
    result.failure =
        FailureText(staging.Failure(), WithoutTrailingSeparators(folder, kWindowsSeparators));
    return std::nullopt;
  }
  const TreeCopyResult copy = CopyTree(from, staging.Path(), tree.entries, progress);
  result.cancelled = copy.cancelled;
  if (copy.failure) result.failure = CopyFailureText(*copy.failure, from, folder);
  std::optional<std::string> chosen;
  if (!result.cancelled && result.failure.empty()) {
    chosen = FinishAndMove(staging, folder, names, finish, sourceAttributes, result.failure);
  }
  if (!chosen) staging.Remove();
  return chosen;
}

}  // namespace

CopyResult CopyFolderStaged(const CopyProgressReport& progress, const std::string& source,
                            const std::string& destDir, const CopyFinish& finish,
                            const std::string& wantedName) {
  const std::string from = WithoutTrailingSeparators(source, kWindowsSeparators);
  const std::string name = FileNamePart(from, kWindowsSeparators);
  const std::string folder = AsFolder(destDir, kWindowsSeparators);
  if (name.empty()) return {};
  const DWORD sourceAttributes = GetFileAttributesA(from.c_str());
  if (sourceAttributes == INVALID_FILE_ATTRIBUTES) {
    return {std::nullopt, FailureText(LastSystemError(), from)};
  }
  if (IsWithin(folder, from)) return {std::nullopt, "a folder cannot be copied into itself"};
  const TreeListing tree = ListTree(from);
  if (tree.failure) return {std::nullopt, FailureText(tree.failure, tree.failedAt)};

  CopyNames names{name, wantedName, {}};
  CopyNames planned = names;
  const auto arrivalName = FreeNameIn(folder, planned);
  if (!arrivalName) return {std::nullopt, CannotExamine(folder)};
  // The staging folder's name is the longer one unless a long name is wanted.
  const std::string fullFolder = AsFolder(AbsolutePath(folder), kWindowsSeparators);
  const std::string stagingName = StagingName(name, GetCurrentProcessId());
  const std::string& longerName =
      stagingName.size() > arrivalName->size() ? stagingName : *arrivalName;
  if (const auto tooLong = TooLongPath(fullFolder + longerName, tree.entries)) {
    return {std::nullopt, "The path is too long: \"" + *tooLong + "\" would have " +
                              std::to_string(tooLong->size()) +
                              " characters, more than Windows allows (MAX_PATH, 260)"};
  }

  DestinationFolders destination;
  CopyResult result{std::nullopt, destination.Make(folder)};
  if (!result.failure.empty()) return result;
  const auto chosen =
      StageAndMove(progress, from, sourceAttributes, tree, folder, finish, names, result);
  if (!chosen) {
    destination.TakeBack();
    return result;
  }
  return {folder + *chosen, {}, false, names.wantedFailure};
}

}  // namespace trelik
