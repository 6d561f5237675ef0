#include "shell/posix/posix_shell_operations.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "common/posix/unique_fd.h"
#include "library/posix/folders.h"
#include "shell/posix/folder_copy.h"
#include "shell/posix/prepared_copy.h"
#include "shell/posix/process.h"
#include "shell/posix/rename_no_replace.h"
#include "shell/posix/tree_removal.h"

namespace trelik {
namespace {

constexpr std::chrono::milliseconds kOpenPatience{1500};

// xdg-open's exit statuses, as the reasons a target cannot be opened.
class XdgOpenFailures final : public std::error_category {
 public:
  const char* name() const noexcept override { return "xdg-open"; }
  std::string message(int status) const override {
    switch (status) {
      case 2:
        return "it does not exist";
      case 3:
        return "no application to open it was found";
      case 4:
        return "the application that opens it failed";
      case 127:
        return "xdg-open, which opens files and web addresses, is not installed";
      default:
        return "xdg-open ended with status " + std::to_string(status);
    }
  }
};

const std::error_category& XdgOpenCategory() {
  static const XdgOpenFailures category;
  return category;
}

// A path as a file address spells it: every byte but the unreserved ones and "/" encoded.
std::string PercentEncoded(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view("/-._~").find(c) != std::string_view::npos;
    if (plain) {
      encoded += c;
    } else {
      encoded.append({'%', kHex[byte >> 4], kHex[byte & 15]});
    }
  }
  return encoded;
}

}  // namespace

PosixShellOperations::PosixShellOperations(FolderPicker pickFolder,
                                           AssociationsChangedHandler onAssociationsChanged,
                                           CopyProgressCallback onCopyProgress)
    : pickFolder_(std::move(pickFolder)),
      onAssociationsChanged_(std::move(onAssociationsChanged)),
      onCopyProgress_(std::move(onCopyProgress)) {}

PosixShellOperations::~PosixShellOperations() = default;

CopyResult PosixShellOperations::CopyFolder(NativeWindow /*owner*/, const std::string& source,
                                            const std::string& destDir, const CopyFinish& finish,
                                            const std::string& wantedName) {
  if (auto prepared = std::move(prepared_); prepared && prepared->IsFor(source, destDir)) {
    PreparedCopy::Adoption adoption = prepared->Adopt(onCopyProgress_);
    prepared.reset();  // whatever was not adopted goes before a copy is made afresh
    if (adoption.cancelled) return {.cancelled = true};
    if (adoption.staged) {
      return FinishStagedCopy(std::move(*adoption.staged), destDir, finish, wantedName);
    }
  }
  return CopyFolderTree(source, destDir, onCopyProgress_, finish, wantedName);
}

void PosixShellOperations::PrepareCopy(const std::string& source, const std::string& destDir) {
  prepared_.reset();
  try {
    prepared_ = std::make_unique<PreparedCopy>(source, destDir);
  } catch (const std::system_error&) {
    // No thread to be had: the copy is made when it is asked for.
  }
}

void PosixShellOperations::DiscardPreparedCopy() { prepared_.reset(); }

bool PosixShellOperations::BrowseForFolder(const std::string& title, std::string& folder) {
  return pickFolder_ && pickFolder_(title, folder);
}

std::error_code PosixShellOperations::RenamePath(const std::string& oldPath,
                                                 const std::string& newPath) {
  return RenameNoReplace(AT_FDCWD, oldPath, AT_FDCWD, newPath);
}

bool PosixShellOperations::RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool PosixShellOperations::RemoveFolder(const std::string& path) {
  return RemoveTree(AT_FDCWD, path);
}

std::error_code PosixShellOperations::ShellOpen(NativeWindow /*owner*/, const std::string& /*verb*/,
                                                const std::string& target, ShowCommand /*show*/) {
  // xdg-open ends at once when nothing can open the target; the application it starts may run
  // long, so it is not waited for beyond that.
  const int status = StartDetached({"xdg-open", target}, kOpenPatience);
  if (status == 0) return {};
  return {status, XdgOpenCategory()};
}

// Browsers keep the anchor of a file address, which a plain path cannot carry.
std::error_code PosixShellOperations::OpenHelpTopic(NativeWindow owner, const std::string& helpFile,
                                                    const std::string& topic) {
  const std::string folder = helpFile.substr(0, helpFile.rfind('/') + 1);
  return ShellOpen(owner, "", "file://" + PercentEncoded(folder) + topic,
                   ShowCommand::kShowMaximized);
}

std::vector<std::string> PosixShellOperations::ListFolder(const std::string& pattern) {
  const auto slash = pattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash + 1);
  const std::string wildcard = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  const UniqueFd opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::vector<std::string> names;
  if (!opened.IsOpen()) return names;
  // A read error ends the listing with the names found so far.
  ReadFolderNames(opened.Get(), names);
  if (wildcard != "*" && wildcard != "*.*") {
    std::erase_if(names, [&wildcard](const std::string& name) {
      return ::fnmatch(wildcard.c_str(), name.c_str(), 0) != 0;
    });
  }
  return names;
}

bool PosixShellOperations::IsExistingFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixShellOperations::IsExistingFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void PosixShellOperations::NotifyAssociationsChanged() {
  if (onAssociationsChanged_) onAssociationsChanged_();
}

}  // namespace trelik
