#pragma once

namespace trelik {

// What the user can do next after each of the template library's notices: their second lines.
inline constexpr const char* kPickAnotherFolder = "Pick the folder of one project.";
inline constexpr const char* kListedAlready =
    "Pick a folder of another name, or delete the listed template first.";
inline constexpr const char* kRenameTheFolder = "Rename the folder, or pick another one.";
inline constexpr const char* kStoreHoldsIt = "Move that folder away first, or pick another folder.";
inline constexpr const char* kCopyAgain =
    "Check that the folder can be read and that the disk has room, then try again.";
inline constexpr const char* kChooseAFile = "Choose one of the template's own files.";
inline constexpr const char* kRestoreTheFolders =
    "Put their folders back into the store, or delete them from the list.";
inline constexpr const char* kRepairTheList =
    "Repair or replace the file, then open the editor again.";
inline constexpr const char* kAskForWriting =
    "Ask whoever keeps it for write access, or name another library folder in the editor.";

}  // namespace trelik
