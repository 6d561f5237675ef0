#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "library/posix/user_dirs.h"
#include "shell/registry.h"

namespace trelik {

// The user's folders that desktop integration writes into.
using DesktopFolders = XdgFolders;

// Makes the desktop know the file types registered in `registry`, the way the Windows shell
// knows them from its registry:
// - a shared-mime-info package (dataHome/mime/packages/trelik.xml) with a MIME type per type;
// - the desktop entry dataHome/applications/trelik.desktop, which opens them all with
//   `executablePath`, and its place as their default application in configHome/mimeapps.list;
// - for each type with a New-menu entry, a launcher template in the XDG templates folder
//   (GNOME Files, Nemo, Caja, Thunar), which is set to ~/Templates in user-dirs.dirs when the
//   user has none, and a link entry in dataHome/templates for Dolphin; a templates folder that
//   the user turned off stays off, and once nothing of Trelik's is registered, a setting that
//   Trelik made is taken back;
// - the program's icon, when `iconSource` (a PNG file) is given.
// Files written for types that are gone are removed. Only files recorded as written by Trelik
// (dataHome/trelik/generated.list) that still are what it wrote are ever replaced or removed, and
// only our own lines of mimeapps.list and user-dirs.dirs change. update-mime-database and
// update-desktop-database are then run when installed.
struct DesktopUpdate {
  // What went: our files, and our lines of mimeapps.list as "<path>: <line>".
  std::vector<std::string> removed;
  // Paths that generated.list named but that are not files Trelik wrote where it writes (added
  // to the list by hand, or rewritten since): left as they are and taken off the list.
  std::vector<std::string> leftAlone;
  // The first thing that could not be written, removed or run, and why ("<path>: <reason>");
  // empty when everything was done. The rest is done all the same.
  std::string failure;
  // What the user should know and was not told before (kept in dataHome/trelik/notices.list):
  // templates left out of the desktop's files, a templates folder turned off.
  std::vector<std::string> notices;
};
// Told `done` of `total` steps as the files are written and the tools run, the last time with
// `done` equal to `total`: hundreds of templates' files take a while.
using DesktopProgress = std::function<void(std::size_t done, std::size_t total)>;
DesktopUpdate RegenerateDesktopIntegration(Registry& registry, const DesktopFolders& folders,
                                           const std::string& executablePath,
                                           const std::string& iconSource,
                                           const DesktopProgress& progress = {});

// RegenerateDesktopIntegration from the file-type store at `storePath`, read and projected while
// holding the store's lock: a registration of another process can then neither change the store
// in between nor have its projection replaced by one of an older store. Not for a thread whose
// own store holds the lock. Throws Error as the store does.
DesktopUpdate RegenerateFromStore(const std::string& storePath, const DesktopFolders& folders,
                                  const std::string& executablePath, const std::string& iconSource,
                                  const DesktopProgress& progress = {});

}  // namespace trelik
