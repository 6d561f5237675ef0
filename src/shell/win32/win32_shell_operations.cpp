#include "shell/win32/win32_shell_operations.h"

#include <windows.h>
// The shell's headers build on the declarations above.
#include <shellapi.h>
#include <shlobj.h>

#include "shell/win32/entry_listing.h"
#include "shell/win32/folder_copy.h"
#include "shell/win32/folder_picker.h"
#include "shell/win32/ole_session.h"
#include "shell/win32/tree_removal.h"

namespace trelik {
namespace {

// ShellExecute answers with small codes of its own; the system errors they stand for.
std::error_code Executed(HINSTANCE answer) {
  const auto result = reinterpret_cast<INT_PTR>(answer);
  if (result > 32) return {};
  switch (result) {
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return {ERROR_NO_ASSOCIATION, std::system_category()};
    case 0:
    case SE_ERR_OOM:
      return {ERROR_NOT_ENOUGH_MEMORY, std::system_category()};
    case SE_ERR_SHARE:
      return {ERROR_SHARING_VIOLATION, std::system_category()};
    default:  // the file, path, access and format codes are the system errors themselves
      return {static_cast<int>(result), std::system_category()};
  }
}

}  // namespace

CopyResult Win32ShellOperations::CopyFolder(NativeWindow owner, const std::string& source,
                                            const std::string& destDir, const CopyFinish& finish,
                                            const std::string& wantedName) {
  const CopyProgressReport progress =
      openProgressWindow_ ? openProgressWindow_(owner) : CopyProgressReport{};
  return CopyFolderStaged(progress, source, destDir, finish, wantedName);
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

std::error_code Win32ShellOperations::ShellOpen(NativeWindow owner, const std::string& verb,
                                                const std::string& target, ShowCommand show) {
  UseOle();  // the shell may hand the file to an extension of its own
  return Executed(ShellExecuteA(static_cast<HWND>(owner), verb.empty() ? nullptr : verb.c_str(),
                                target.c_str(), nullptr, nullptr,
                                show == ShowCommand::kShowMaximized ? SW_SHOWMAXIMIZED : SW_SHOW));
}

// The help viewer takes "file::/page#anchor" for a page inside compiled help.
std::error_code Win32ShellOperations::OpenHelpTopic(NativeWindow owner, const std::string& helpFile,
                                                    const std::string& topic) {
  const std::string page = helpFile + "::/" + topic;
  UseOle();
  return Executed(ShellExecuteA(static_cast<HWND>(owner), "open", "hh.exe", page.c_str(), nullptr,
                                SW_SHOWMAXIMIZED));
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

bool Win32ShellOperations::IsExistingFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Win32ShellOperations::NotifyAssociationsChanged() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace trelik
