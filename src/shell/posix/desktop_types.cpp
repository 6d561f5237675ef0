#include "shell/posix/desktop_types.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

#include "common/utf8.h"
#include "shell/file_type_registration.h"
#include "shell/type_names.h"

namespace trelik {
namespace {

constexpr std::string_view kBaseExtension = ".trelik";

// The length of the character at `text[at]` when XML and desktop entries can hold it, 0
// otherwise: both are UTF-8, neither holds control characters (GIO does not even match a glob
// holding U+0085), and U+FFFE and U+FFFF are no XML characters.
std::size_t HeldCharacterLength(std::string_view text, std::size_t at) {
  const std::size_t length = Utf8SequenceLength(text, at);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  if (length == 0 || byte(0) < 0x20 || byte(0) == 0x7F) return 0;
  if (length == 2 && byte(0) == 0xC2 && byte(1) < 0xA0) return 0;
  if (length == 3 && byte(0) == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE) return 0;
  return length;
}

// Long enough to recognise a name by, short enough for a message box.
constexpr std::size_t kMaxShownLength = 60;

std::string ShownName(std::string_view name) {
  std::string shown;
  for (std::size_t at = 0; at < name.size();) {
    if (shown.size() >= kMaxShownLength) return shown.append("\xE2\x80\xA6");
    const std::size_t length = HeldCharacterLength(name, at);
    if (length == 0) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(name[at]));
      shown += escape;
      ++at;
    } else {
      shown.append(name.substr(at, length));
      at += length;
    }
  }
  return shown;
}

// '*', '?' and '[' ']' are live characters in a shared-mime-info glob: a glob for the name "a*"
// would claim other templates' files. A '/' cannot be part of a file name. The editor refuses such
// names; one that got into the store anyway is given no desktop type rather than a wrong one. A
// launcher needs room for at least the name's first character before its extension.
bool UsableTemplateName(std::string_view name) {
  if (name.empty() || name.find_first_of("*?[]/") != std::string_view::npos) return false;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t length = HeldCharacterLength(name, at);
    if (length == 0) return false;
    at += length;
  }
  return kTemplateExtensionStart.size() + name.size() + HeldCharacterLength(name, 0) <=
         kMaxFileNameBytes;
}

// Long enough to recognise a name by; update-mime-database writes a file named after the type.
constexpr std::size_t kMaxSlugLength = 64;

std::string Slug(std::string_view name) {
  std::string slug;
  for (const char c : name.substr(0, kMaxSlugLength)) {
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
      OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, extension + kNewMenuSubkey)));
}

}  // namespace

DesktopTypes ReadDesktopTypes(Registry& registry, std::string_view executablePath) {
  DesktopTypes read;
  std::vector<DesktopType>& types = read.types;
  for (const auto& extension : ListSubkeys(registry, RegistryKey::kRoot)) {
    const bool isBase = extension == kBaseExtension;
    if (!isBase && !extension.starts_with(kTemplateExtensionStart)) continue;
    if (!IsTrelikFileType(registry, extension, executablePath, kPosixExecutable)) continue;
    DesktopType type;
    type.extension = extension;
    type.templateName = isBase ? "" : extension.substr(kTemplateExtensionStart.size());
    if (!isBase && !UsableTemplateName(type.templateName)) {
      if (!type.templateName.empty()) read.leftOut.push_back(ShownName(type.templateName));
      continue;
    }
    // File managers show the description; the registry's type names are
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
    if (slug.empty() || slugUses[slug] > 1 || type.templateName.size() > kMaxSlugLength) {
      if (!slug.empty()) type.mimeType.append("-");
      type.mimeType.append(ShortHash(type.templateName));
    }
  }
  return read;
}

}  // namespace trelik
