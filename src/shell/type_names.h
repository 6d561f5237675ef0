#pragma once

#include <string>
#include <string_view>

namespace trelik {

// How a template's file type is named in the registry: its extension, its type and the key that
// puts the extension into the shell's New menu.
inline constexpr std::string_view kTemplateExtensionStart = ".trelik_";
// A template's type is its extension without the dot; a launcher is known by it.
inline constexpr std::string_view kTemplateTypeStart = kTemplateExtensionStart.substr(1);
// Below an extension's key.
inline constexpr char kNewMenuSubkey[] = "\\ShellNew";

inline std::string TemplateExtension(std::string_view name) {
  return std::string(kTemplateExtensionStart).append(name);
}

inline std::string TemplateTypeName(std::string_view name) {
  return std::string(kTemplateTypeStart).append(name);
}

}  // namespace trelik
