#pragma once

#include <string_view>

namespace trelik {

// The entry that a folder's context menu offers in Explorer and the Linux file managers, and the
// command line it starts the program with: the editor, then this option and the folder.
inline constexpr std::string_view kFolderActionLabel = "Make a Trelik template";
inline constexpr std::string_view kEditorCommand = "--editor";
inline constexpr std::string_view kTemplateFromOption = "--template-from";

}  // namespace trelik
