#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/shell_operations.h"
#include "shell/win32/tree_copy.h"

namespace trelik {

// The Windows shell and file system behind ShellOperations. Paths are in the process code page,
// as everywhere in the program, so the ANSI calls are used throughout.
class Win32ShellOperations : public ShellOperations {
 public:
  // Opens the progress window of one copy, owned by `owner`, and returns what tells it how far
  // the copy has got (see CopyProgressReport). The window layer hands it in; without it a copy
  // shows none.
  using ProgressWindowOpener = std::function<CopyProgressReport(NativeWindow owner)>;

  Win32ShellOperations() = default;
  explicit Win32ShellOperations(ProgressWindowOpener openProgressWindow)
      : openProgressWindow_(std::move(openProgressWindow)) {}

  // The folder picker belongs to the program's own top-level window (the hidden one that
  // stands for it on the taskbar), not to the window that asks. Null, the default until the
  // window layer has made that window, leaves the picker without an owner.
  void SetApplicationWindow(NativeWindow window) { applicationWindow_ = window; }

  // A staged copy (see CopyFolderStaged), with a progress window owned by `owner` while it fills
  // the staging folder.
  CopyResult CopyFolder(NativeWindow owner, const std::string& source, const std::string& destDir,
                        const CopyFinish& finish = {}, const std::string& wantedName = {}) override;

  // Initialises COM for the picker's duration when this thread has not; see PickFolder.
  bool BrowseForFolder(const std::string& title, std::string& folder) override;

  std::error_code RenamePath(const std::string& oldPath, const std::string& newPath) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  std::error_code ShellOpen(NativeWindow owner, const std::string& verb, const std::string& target,
                            ShowCommand show) override;
  std::error_code OpenHelpTopic(NativeWindow owner, const std::string& helpFile,
                                const std::string& topic) override;
  std::vector<std::string> ListFolder(const std::string& pattern) override;
  bool IsExistingFile(const std::string& path) override;
  bool IsExistingFolder(const std::string& path) override;
  void NotifyAssociationsChanged() override;

 private:
  ProgressWindowOpener openProgressWindow_;
  NativeWindow applicationWindow_ = nullptr;
};

}  // namespace trelik
