#include "shell/win32/staging_folder.h"

#include <windows.h>

#include "common/system_error.h"
#include "shell/staging_name.h"
#include "shell/win32/entry_listing.h"
#include "shell/win32/tree_removal.h"

namespace trelik {
namespace {

// Bounds the retries when other programs keep taking the names we choose.
constexpr int kNameAttempts = 100;

// Reading is what makes the system record the sharing mode; deletion is not shared.
HANDLE HoldOpen(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool ProcessIsGone(DWORD id) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process != nullptr) {
    DWORD exitCode = 0;
    const bool ended = GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
  }
  return GetLastError() == ERROR_INVALID_PARAMETER;
}

// A folder some process holds open without sharing deletion cannot be opened for deleting.
bool IsHeldOpen(const std::string& path) {
  const HANDLE probe =
      CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return true;
  CloseHandle(probe);
  return false;
}

}  // namespace

StagingFolder::StagingFolder(const std::string& folder, const std::string& name)
    : lock_(INVALID_HANDLE_VALUE) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string candidate = folder + StagingName(name, GetCurrentProcessId());
    if (!CreateDirectoryA(candidate.c_str(), nullptr)) {
      failure_ = LastSystemError();
      if (failure_.value() == ERROR_ALREADY_EXISTS) continue;
      return;
    }
    lock_ = HoldOpen(candidate);
    if (lock_ == INVALID_HANDLE_VALUE) {
      failure_ = LastSystemError();
      RemoveDirectoryA(candidate.c_str());
      return;
    }
    SetFileAttributesA(candidate.c_str(), FILE_ATTRIBUTE_HIDDEN);
    path_ = candidate;
    failure_.clear();
    return;
  }
}

StagingFolder::~StagingFolder() { Unlock(); }

void StagingFolder::Unlock() {
  if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);
  lock_ = INVALID_HANDLE_VALUE;
}

void StagingFolder::Remove() {
  Unlock();
  if (!path_.empty()) RemoveTree(path_);
}

void RemoveAbandonedStagingFolders(const std::string& folder) {
  for (const std::string& name : ListEntries(folder + "*")) {
    const auto owner = StagingOwner(name);
    const std::string path = folder + name;
    // Process ids come round again soon (under Wine within seconds): one that names this
    // process names a copy of an earlier one unless this process holds it.
    if (owner && (*owner == GetCurrentProcessId() || ProcessIsGone(static_cast<DWORD>(*owner))) &&
        !IsHeldOpen(path)) {
      RemoveTree(path);
    }
  }
}

}  // namespace trelik
