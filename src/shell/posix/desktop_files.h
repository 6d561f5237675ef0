#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/posix/desktop_types.h"

namespace trelik {

// The file name of the desktop entry that opens the types, which mimeapps.list refers to. It
// differs from the installed menu entry's "trelik.desktop", which an entry of that name in the
// user's folder would hide.
inline constexpr const char* kDesktopEntryName = "trelik-filetypes.desktop";
// The name that entry had before; mimeapps.list lines naming it for our types are ours.
inline constexpr const char* kFormerDesktopEntryName = "trelik.desktop";
// The icon name used by the program and every one of its types.
inline constexpr const char* kIconName = "trelik";

// Whether a text starts as the MIME package and the desktop entries that Trelik writes do: the
// line after the first says that Trelik wrote the file.
bool HoldsTrelikHeader(std::string_view contents);

// The comment line that says Trelik wrote a file, which HoldsTrelikHeader looks for second.
std::string TrelikHeaderComment();

// One argument of a desktop entry's Exec line, quoted only when it must be, as a string value.
std::string ExecArgument(std::string_view argument);

// The shared-mime-info package: one MIME type per file type, each recognised by a
// case-sensitive glob on its exact extension.
std::string MimePackageText(const std::vector<DesktopType>& types);

// The application's desktop entry: it opens files of every type with the program, and is kept
// out of menus.
std::string ApplicationEntryText(const std::vector<DesktopType>& types,
                                 const std::string& executablePath);

// The name of the launcher template that a New-menu entry creates: the file manager shows it as
// the entry's label and proposes it as the new file's name. It is the template's name (cut to
// fit a file name) and the type's extension.
std::string LauncherTemplateName(const DesktopType& type);

// The one byte a launcher template holds: GIO types an empty file as plain text whatever its
// name, and the launcher would open in a text editor.
inline constexpr const char* kLauncherTemplateContents = "\n";

// Dolphin's New-menu entry for a type: a link to the launcher template at `sourcePath`
// (relative to the entry).
std::string DolphinLinkText(const DesktopType& type, const std::string& sourcePath);

// The file name of a type's Dolphin entry.
std::string DolphinLinkName(const DesktopType& type);

}  // namespace trelik
