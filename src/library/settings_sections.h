#pragma once

#include <string_view>

namespace trelik {

// The settings file's sections, each keyed by template name.
inline constexpr std::string_view kMainFileSection = "mainfile";
inline constexpr std::string_view kAutoOpenSection = "autoopen";
inline constexpr std::string_view kFillSection = "fill";

}  // namespace trelik
