#include "shell/win32/win32_shell_operations.h"

#include <windows.h>
// The shell's headers build on the declarations above.
#include <shellapi.h>
#include <shlobj.h>

#include "common/path_parts.h"
#include "shell/copy_name.h"
#include "shell/win32/entry_listing.h"
#include "shell/win32/folder_picker.h"
#include "shell/win32/tree_removal.h"

namespace trelik {
namespace {

enum class NameState { kFree, kTaken, kUnknown };

NameState ProbeName(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return NameState::kTaken;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? NameState::kFree
                                                                        : NameState::kUnknown;
}

std::string FullPath(const std::string& path) {
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::string full(size, '\0');
  const DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
  full.resize(length < size ? length : 0);
  return full;
}

std::string Uppercase(std::string text) {
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// True when `folder` is `root` or lies inside it; file names compare regardless of case.
bool IsWithin(const std::string& folder, const std::string& root) {
  return Uppercase(AsFolder(FullPath(folder), kWindowsSeparators))
      .starts_with(Uppercase(AsFolder(FullPath(root), kWindowsSeparators)));
}

// The shell takes lists of paths, each ending in a NUL and the list in a second one.
std::vector<char> PathList(const std::string& path) {
  std::vector<char> list(path.size() + 2, '\0');
  path.copy(list.data(), path.size());
  return list;
}

}  // namespace

CopyResult Win32ShellOperations::CopyFolder(NativeWindow owner, const std::string& source,
                                            const std::string& destDir, const CopyFinish& finish,
                                            const std::string& wantedName) {
  const std::string from = WithoutTrailingSeparators(source, kWindowsSeparators);
  const std::string name = FileNamePart(from, kWindowsSeparators);
  const std::string folder = AsFolder(destDir, kWindowsSeparators);
  if (name.empty()) return {};
  if (IsWithin(folder, from)) return {std::nullopt, "a folder cannot be copied into itself"};

  // A name whose state cannot be told might be someone's entry: no copy goes there.
  bool nameUnknown = false;
  const auto isTaken = [&](const std::string& candidate) {
    const NameState state = ProbeName(folder + candidate);
    nameUnknown = state == NameState::kUnknown;
    return state == NameState::kTaken;
  };
  const std::string arrivalName = ArrivalName(name, wantedName, isTaken);
  const std::string destination = folder + arrivalName;
  if (nameUnknown) return {std::nullopt, "\"" + destination + "\" cannot be examined"};

  std::vector<char> fromList = PathList(from);
  std::vector<char> toList = PathList(destination);
  SHFILEOPSTRUCTA request{};
  request.hwnd = static_cast<HWND>(owner);
  request.wFunc = FO_COPY;
  request.pFrom = fromList.data();
  request.pTo = toList.data();
  // On Windows the rename flag still protects a name that is taken between the check and the
  // copy.
  request.fFlags = FOF_NOCONFIRMATION | FOF_RENAMEONCOLLISION;
  request.fAnyOperationsAborted = FALSE;
  request.hNameMappings = nullptr;
  request.lpszProgressTitle = nullptr;
  const int result = SHFileOperationA(&request);

  const bool arrived = ProbeName(destination) == NameState::kTaken;
  std::string failure = request.fAnyOperationsAborted ? "The copy was cancelled" : "";
  if (result == 0 && !request.fAnyOperationsAborted && arrived) {
    if (finish) failure = finish(destination, arrivalName);
    if (failure.empty()) {
      CopyResult copy{destination, {}};
      if (!wantedName.empty() && arrivalName != wantedName) {
        copy.wantedNameFailure = std::make_error_code(std::errc::file_exists);
      }
      return copy;
    }
  }
  // The name was free before the copy, so whatever stands there now is an unfinished copy.
  if (arrived) RemoveTree(destination);
  return {std::nullopt, failure};
}

bool Win32ShellOperations::BrowseForFolder(const std::string& title, std::string& folder) {
  return PickFolder(applicationWindow_, title, folder);
}

std::error_code Win32ShellOperations::RenamePath(const std::string& oldPath,
                                                 const std::string& newPath) {
  if (MoveFileA(oldPath.c_str(), newPath.c_str())) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return std::make_error_code(std::errc::file_exists);
  }
  return {static_cast<int>(error), std::system_category()};
}

bool Win32ShellOperations::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

bool Win32ShellOperations::RemoveFolder(const std::string& path) { return RemoveTree(path); }

void Win32ShellOperations::ShellOpen(NativeWindow owner, const std::string& verb,
                                     const std::string& target, ShowCommand show) {
  // The shell reports its own failures where it has something to say; the program does not.
  static_cast<void>(ShellExecuteA(
      static_cast<HWND>(owner), verb.empty() ? nullptr : verb.c_str(), target.c_str(), nullptr,
      nullptr, show == ShowCommand::kShowMaximized ? SW_SHOWMAXIMIZED : SW_SHOW));
}

std::vector<std::string> Win32ShellOperations::ListFolder(const std::string& pattern) {
  return ListEntries(pattern);
}

bool Win32ShellOperations::IsExistingFile(const std::string& path) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA(path.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32ShellOperations::NotifyAssociationsChanged() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace trelik
