#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/registry.h"

namespace trelik {

// Every MIME type of ours starts with it; the base type is this alone.
inline constexpr std::string_view kMimePrefix = "application/x-trelik";

// A registered file type as the Linux desktop sees it.
struct DesktopType {
  std::string extension;     // ".trelik" or TemplateExtension(templateName)
  std::string templateName;  // empty for the base type
  std::string description;   // what a file manager shows, e.g. "Web project (Trelik launcher)"
  std::string mimeType;      // "application/x-trelik" or "application/x-trelik-<slug>"
  bool inNewMenu = false;    // the extension has a New-menu entry
};

// The longest file name, in bytes, that the usual Linux file systems take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

struct DesktopTypes {
  std::vector<DesktopType> types;
  // Template names that the desktop's files cannot hold, as a notice shows them: bytes that
  // are not UTF-8 or are control characters written as \xNN, a long name cut short.
  std::vector<std::string> leftOut;
};

// The base type ".trelik" and every template's extension registered at the registry's root, in the
// registry's order. Each template gets the MIME type "application/x-trelik-" + its lowercase
// slug, cut to a sensible length; where slugs coincide (names differing only in case or
// punctuation), are empty or were cut, a short hash of the exact name tells them apart.
// A name is left out when XML or a desktop entry cannot hold it (not UTF-8, a control
// character), when it cannot become a case-sensitive glob, or when no launcher file name can
// carry its extension: one such name would otherwise make update-mime-database reject every type.
// An extension whose type another program opens is no type of ours: it is left out unnamed.
DesktopTypes ReadDesktopTypes(Registry& registry, std::string_view executablePath);

}  // namespace trelik
