#pragma once

namespace trelik {

// The library's files in the data folder.
inline constexpr char kTemplateStoreFolder[] = "projects";
inline constexpr char kTemplateListFile[] = "projects.lib";
inline constexpr char kSettingsFile[] = "trelik.ini";
// Held while the list is saved (library/list_lock.h).
inline constexpr char kListLockFile[] = "projects.lib.lock";

}  // namespace trelik
