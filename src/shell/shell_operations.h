#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "library/file_access.h"
#include "library/file_tree.h"

namespace trelik {

// A native window handle (HWND on Windows) for the owner of the shell's own windows; null for
// none. Opaque here so that portable code needs no system header.
using NativeWindow = void*;

enum class ShowCommand { kShow, kShowMaximized };

// Where a folder copy arrived, or why it failed.
struct CopyResult {
  std::optional<std::string> arrivedAt;  // the copy's full path; nullopt when the copy failed
  std::string failure;     // why it failed, for the user; empty when the system did not say
  bool cancelled = false;  // the user stopped it; nothing of it is left
  // Why the copy did not arrive under the name wanted for it: std::errc::file_exists when that
  // name was taken, else the system's reason; empty when it did or none was wanted.
  std::error_code wantedNameFailure;
};

// Work on a finished copy before it appears under its name: given the path where the copy is
// and the name it will arrive under, returns why it failed, or nothing. A failure fails the copy.
// Whatever it renames inside the copy appears renamed, in the one move that shows the copy.
using CopyFinish =
    std::function<std::string(const std::string& copyPath, const std::string& arrivalName)>;

// The one seam between the program and the user's files and shell: one implementation per
// platform, fakes in tests. Through it go the launcher, the templates and the projects (copying,
// filling, renaming, removing, listing, asking what stands at a path), the folder picker, opening
// files and the shell's notification. Trelik's own files (the settings, the template list, the
// file-type store and the desktop files it writes) go through the library's file access
// (library/file_access.h), which reads them bounded and replaces them whole; the copy's own
// staging work stays inside each implementation.
class ShellOperations {
 public:
  virtual ~ShellOperations() = default;

  // Copies the folder `source`, with everything in it, into the folder `destDir` (a missing
  // `destDir` is created). The copy takes `wantedName` when one is given and it is free in
  // `destDir`; otherwise the source's own name, or when that is taken too, the first free one
  // of "<name> - Copy", "<name> - Copy (2)", ... (see ArrivalName).
  // Nothing of a failed copy is left behind. `finish`, when given, runs on the complete copy
  // before it appears (see CopyFinish).
  virtual CopyResult CopyFolder(NativeWindow owner, const std::string& source,
                                const std::string& destDir, const CopyFinish& finish = {},
                                const std::string& wantedName = {}) = 0;

  // Starts copying the folder `source` ahead, in the background, for a CopyFolder of it into
  // `destDir` that is to come (the user is still typing the project's name). That CopyFolder
  // then only finishes the copy, unless anything in the source changed meanwhile; the copy made
  // ahead stays hidden as CopyFolder's own does until then, and one that no CopyFolder takes is
  // removed by DiscardPreparedCopy, by the next PrepareCopy or when the shell is destroyed.
  // Does nothing where copying ahead is not done.
  virtual void PrepareCopy(const std::string& source, const std::string& destDir);

  // Removes a copy made ahead that no CopyFolder took; nothing when there is none.
  virtual void DiscardPreparedCopy();

  // Lets the user pick a folder; false when cancelled, else `folder` holds the chosen path.
  virtual bool BrowseForFolder(const std::string& title, std::string& folder) = 0;

  // Gives a file or folder a new name; never replaces an existing entry. Empty on success, else
  // why it failed: std::errc::file_exists when the new name is taken.
  virtual std::error_code RenamePath(const std::string& oldPath, const std::string& newPath) = 0;

  // Deletes one file. True on success.
  virtual bool RemoveFile(const std::string& path) = 0;

  // Deletes a folder with everything in it; links inside are removed, never followed. True when
  // nothing is left at `path`.
  virtual bool RemoveFolder(const std::string& path) = 0;

  // Hands a file or web address to the shell; an empty verb means the target's default action.
  // Returns once the shell has taken it on; empty then, else why it cannot be opened (nothing
  // at the path, no application for its type, no browser).
  virtual std::error_code ShellOpen(NativeWindow owner, const std::string& verb,
                                    const std::string& target, ShowCommand show) = 0;

  // Opens the help `helpFile` at `topic`, one of its pages with an optional "#anchor": the
  // compiled help's viewer on Windows, the page beside `helpFile` in the browser on Linux.
  // Answers as ShellOpen does.
  virtual std::error_code OpenHelpTopic(NativeWindow owner, const std::string& helpFile,
                                        const std::string& topic) = 0;

  // The names of the entries matching `pattern` (a folder path followed by a wildcard such as
  // "*.*", which matches every name), "." and ".." included, in the file system's order.
  virtual std::vector<std::string> ListFolder(const std::string& pattern) = 0;

  // True when an entry of that name exists and is not a folder.
  virtual bool IsExistingFile(const std::string& path) = 0;

  // True when a folder exists at `path`, readable or not.
  virtual bool IsExistingFolder(const std::string& path) = 0;

  // The reads and rewrites below are the library's file access on every platform; they are
  // part of the seam so that a fake can stand for them.

  // The entries of a template's or a project's folder, with their kinds (see ReadFolderEntries).
  virtual FolderEntries ReadFolderEntries(const std::string& folder);

  // At most the first `limit` bytes of a launcher or of a file in a project.
  virtual FileRead ReadFileStart(const std::string& path, std::size_t limit);

  // Gives a file in a project new content, never seen half-written (see RewriteFile).
  virtual std::error_code RewriteFile(const std::string& path, std::string_view contents);

  // Tells the shell that file types changed, so that it reloads its New menu and icons.
  virtual void NotifyAssociationsChanged() = 0;
};

}  // namespace trelik
