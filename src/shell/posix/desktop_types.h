#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/registry.h"

namespace trelik {

// Every MIME type of ours starts with it; the base type is this alone.
inline constexpr std::string_view kMimePrefix = "application/x-trelik";

// A registered file type as the Linux desktop sees it.
struct DesktopType {
  std::string extension;     // ".trelik" or ".trelik_" + the template name
  std::string templateName;  // empty for the base type
  std::string description;   // what a file manager shows, e.g. "Web project (Trelik launcher)"
  std::string mimeType;      // "application/x-trelik" or "application/x-trelik-<slug>"
  bool inNewMenu = false;    // the extension has a New-menu entry
};

// The base type ".trelik" and every ".trelik_<name>" registered at the registry's root, in the
// registry's order. Each template gets the MIME type "application/x-trelik-" + its lowercase
// slug; where slugs coincide (names differing only in case or punctuation) or are empty, a
// short hash of the exact name tells them apart. Names that cannot become a case-sensitive glob
// or a file name are left out.
std::vector<DesktopType> ReadDesktopTypes(Registry& registry);

}  // namespace trelik
