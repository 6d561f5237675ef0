#pragma once

#include <string_view>

namespace trelik {

// The settings file's sections, each keyed by template name.
inline constexpr std::string_view kMainFileSection = "mainfile";
inline constexpr std::string_view kAutoOpenSection = "autoopen";
inline constexpr std::string_view kFillSection = "fill";

// Where the template store and list are, when not in the data folder: [library] folder=PATH.
inline constexpr std::string_view kLibrarySection = "library";
inline constexpr std::string_view kLibraryFolderKey = "folder";

}  // namespace trelik
