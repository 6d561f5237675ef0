#include "shell/posix/desktop_types.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

namespace trelik {
namespace {

constexpr std::string_view kBaseExtension = ".trelik";
constexpr std::string_view kTemplatePrefix = ".trelik_";

// '*', '?' and '[' ']' are live characters in a shared-mime-info glob: "*.trelik_a*" would claim
// other templates' files. A '/' cannot be part of a file name. The editor refuses such names;
// one that got into the store anyway is given no desktop type rather than a wrong one.
bool UsableTemplateName(std::string_view name) {
  return !name.empty() && name.find_first_of("*?[]/") == std::string_view::npos;
}

std::string Slug(std::string_view name) {
  std::string slug;
  for (const char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      slug += c;
    } else if (c >= 'A' && c <= 'Z') {
      slug += static_cast<char>(c - 'A' + 'a');
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  if (!slug.empty() && slug.back() == '-') slug.pop_back();
  return slug;
}

// FNV-1a: short, stable across runs and builds, and plenty to tell a handful of names apart.
std::string ShortHash(std::string_view name) {
  std::uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  char text[9];
  std::snprintf(text, sizeof text, "%08x", hash);
  return text;
}

bool HasNewMenuEntry(Registry& registry, const std::string& extension) {
  return static_cast<bool>(
      OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, extension + "\\ShellNew")));
}

}  // namespace

std::vector<DesktopType> ReadDesktopTypes(Registry& registry) {
  std::vector<DesktopType> types;
  for (const auto& extension : ListSubkeys(registry, RegistryKey::kRoot)) {
    const bool isBase = extension == kBaseExtension;
    if (!isBase && !(extension.starts_with(kTemplatePrefix) &&
                     UsableTemplateName(extension.substr(kTemplatePrefix.size())))) {
      continue;
    }
    DesktopType type;
    type.extension = extension;
    type.templateName = isBase ? "" : extension.substr(kTemplatePrefix.size());
    // File managers show the description; the registry's type names ("trelik_Web") are
    // Windows' business.
    type.description = isBase ? "Trelik file" : type.templateName + " project (Trelik launcher)";
    type.inNewMenu = HasNewMenuEntry(registry, extension);
    types.push_back(std::move(type));
  }

  std::map<std::string, int> slugUses;
  for (const auto& type : types) {
    if (!type.templateName.empty()) ++slugUses[Slug(type.templateName)];
  }
  for (auto& type : types) {
    type.mimeType = kMimePrefix;
    if (type.templateName.empty()) continue;
    const std::string slug = Slug(type.templateName);
    type.mimeType.append("-").append(slug);
    if (slug.empty() || slugUses[slug] > 1) {
      if (!slug.empty()) type.mimeType.append("-");
      type.mimeType.append(ShortHash(type.templateName));
    }
  }
  return types;
}

}  // namespace trelik
