#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/posix/copy_progress.h"
#include "shell/shell_operations.h"

namespace trelik {

class PreparedCopy;

// The Linux shell operations. What needs a window (the folder picker, a progress window for
// long copies) and what rebuilds the desktop's view of our file types are handed in by the
// application, so that this layer stays free of any toolkit. Each may be empty: the picker then
// reports a cancel, and notifying or reporting progress does nothing.
class PosixShellOperations final : public ShellOperations {
 public:
  // Shows a folder picker titled `title`; true with `folder` set when the user chose one.
  using FolderPicker = std::function<bool(const std::string& title, std::string& folder)>;
  // Brings the desktop's file-type, icon and New-menu files up to date.
  using AssociationsChangedHandler = std::function<void()>;

  PosixShellOperations(FolderPicker pickFolder, AssociationsChangedHandler onAssociationsChanged,
                       CopyProgressCallback onCopyProgress);
  ~PosixShellOperations() override;
  PosixShellOperations(const PosixShellOperations&) = delete;
  PosixShellOperations& operator=(const PosixShellOperations&) = delete;

  // `owner` plays no part: the progress goes to the callback handed in.
  CopyResult CopyFolder(NativeWindow owner, const std::string& source, const std::string& destDir,
                        const CopyFinish& finish = {}, const std::string& wantedName = {}) override;
  void PrepareCopy(const std::string& source, const std::string& destDir) override;
  void DiscardPreparedCopy() override;
  bool BrowseForFolder(const std::string& title, std::string& folder) override;
  std::error_code RenamePath(const std::string& oldPath, const std::string& newPath) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  // Hands `target` to xdg-open, which opens it with the user's default application. Verbs and
  // show commands have no counterpart there, so `owner`, `verb` and `show` play no part.
  std::error_code ShellOpen(NativeWindow owner, const std::string& verb, const std::string& target,
                            ShowCommand show) override;
  std::error_code OpenHelpTopic(NativeWindow owner, const std::string& helpFile,
                                const std::string& topic) override;
  // "*" and "*.*" match every name, "*.*" names without a dot too, as on Windows; any other
  // wildcard is matched as a shell pattern, case-sensitively.
  std::vector<std::string> ListFolder(const std::string& pattern) override;
  // A link counts as what it points to, so a link to a folder is no file.
  bool IsExistingFile(const std::string& path) override;
  // A link to a folder counts as one.
  bool IsExistingFolder(const std::string& path) override;
  void NotifyAssociationsChanged() override;

 private:
  FolderPicker pickFolder_;
  AssociationsChangedHandler onAssociationsChanged_;
  CopyProgressCallback onCopyProgress_;
  std::unique_ptr<PreparedCopy> prepared_;
};

}  // namespace trelik
