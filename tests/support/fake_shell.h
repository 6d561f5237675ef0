#pragma once

#include <string>
#include <vector>

#include "shell/shell_operations.h"

namespace trelik::testing {

// Shell operations over the real file system (std::filesystem, and the system's own rename that
// never replaces), recording what the program hands to the shell instead of opening it.
class FakeShell : public ShellOperations {
 public:
  struct Opened {
    std::string verb;
    std::string target;
    ShowCommand show;
    NativeWindow owner;
  };

  CopyResult CopyFolder(NativeWindow owner, const std::string& source, const std::string& destDir,
                        const CopyFinish& finish = {}, const std::string& wantedName = {}) override;
  // A copy made ahead is only recorded; the copy asked for later is made as any other.
  void PrepareCopy(const std::string& source, const std::string& destDir) override;
  void DiscardPreparedCopy() override { preparedCopy.clear(); }
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
  std::error_code RewriteFile(const std::string& path, std::string_view contents) override;
  void NotifyAssociationsChanged() override { ++notifications; }

  // The hidden name a copy is built under before it is moved into place.
  static constexpr const char* kStagingPrefix = ".staging-";

  std::vector<Opened> opened;
  std::error_code openFailure;           // what every ShellOpen answers
  std::vector<std::string> renamedFrom;  // the old path of every rename asked for
  std::vector<std::string> browseTitles;
  std::string pickedFolder;        // what the folder picker answers; empty: the user cancels
  std::string copyFailure;         // when set, every copy fails with this reason
  bool cancelCopies = false;       // every copy is cancelled by the user
  std::error_code renameFailure;   // when set, every rename fails with this error
  std::error_code rewriteFailure;  // when set, every file's new content fails with this error
  int notifications = 0;
  std::string preparedCopy;  // "<source> -> <destDir>" of a copy made ahead and not yet taken
  int adoptedCopies = 0;     // copies asked for that a copy made ahead was for
};

}  // namespace trelik::testing
