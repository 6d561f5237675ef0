#include "shell/posix/generated_files.h"

#include <algorithm>

#include "shell/posix/desktop_files.h"
#include "shell/posix/folder_actions.h"
#include "shell/type_names.h"

namespace trelik {
namespace {

enum class Kind { kNone, kHeadered, kLauncherTemplate, kIcon };

// A launcher template is named after its type, as LauncherTemplateName names it.
bool IsLauncherTemplateName(std::string_view name) {
  for (auto at = name.find(kTemplateExtensionStart); at != std::string_view::npos;
       at = name.find(kTemplateExtensionStart, at + 1)) {
    DesktopType type;
    type.extension = name.substr(at);
    type.templateName = type.extension.substr(kTemplateExtensionStart.size());
    if (!type.templateName.empty() && LauncherTemplateName(type) == name) return true;
  }
  return false;
}

// "<digits>x<digits>", an icon theme's size folder.
bool IsIconSize(std::string_view size) {
  const std::size_t x = size.find('x');
  const auto digits = [](std::string_view part) {
    return !part.empty() && std::ranges::all_of(part, [](char c) { return c >= '0' && c <= '9'; });
  };
  return x != std::string_view::npos && digits(size.substr(0, x)) && digits(size.substr(x + 1));
}

// The file managers' folder actions, which start no program of their own.
std::vector<FolderActionFile> FolderActions(const GeneratedPlaces& places) {
  return FolderActionFiles(places.dataHome, places.configHome, "");
}

Kind KindOf(std::string_view folder, std::string_view name, const GeneratedPlaces& places) {
  const std::string data = places.dataHome + "/";
  const std::string path = std::string(folder) + "/" + std::string(name);
  if (std::ranges::any_of(FolderActions(places),
                          [&path](const FolderActionFile& file) { return file.path == path; })) {
    return Kind::kHeadered;
  }
  if (folder == data + "mime/packages") return name == "trelik.xml" ? Kind::kHeadered : Kind::kNone;
  if (folder == data + "applications") {
    return name == kDesktopEntryName || name == kFormerDesktopEntryName ? Kind::kHeadered
                                                                        : Kind::kNone;
  }
  if (folder == data + "templates") {
    return name.starts_with("trelik") && name.ends_with(".desktop") ? Kind::kHeadered : Kind::kNone;
  }
  if (folder == data + "templates/.source" ||
      std::ranges::find(places.templatesFolders, folder) != places.templatesFolders.end()) {
    return IsLauncherTemplateName(name) ? Kind::kLauncherTemplate : Kind::kNone;
  }
  const std::string icons = data + "icons/hicolor/";
  if (folder.starts_with(icons) && folder.ends_with("/apps") &&
      IsIconSize(folder.substr(icons.size(), folder.size() - icons.size() - 5)) &&
      name == std::string(kIconName) + ".png") {
    return Kind::kIcon;
  }
  return Kind::kNone;
}

}  // namespace

bool IsGeneratedFile(std::string_view path, std::string_view contents,
                     const GeneratedPlaces& places) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return false;
  switch (KindOf(path.substr(0, slash), path.substr(slash + 1), places)) {
    case Kind::kHeadered:
      return HoldsTrelikHeader(contents);
    case Kind::kLauncherTemplate:
      return contents == kLauncherTemplateContents;
    case Kind::kIcon:
      return contents.starts_with("\x89PNG\r\n\x1a\n");
    case Kind::kNone:
      break;
  }
  return false;
}

bool IsGeneratedFolder(std::string_view folder, const GeneratedPlaces& places) {
  if (!folder.starts_with(places.home + "/")) return false;
  const std::string data = places.dataHome + "/";
  std::vector<std::string> targets = {data + "mime/packages", data + "applications",
                                      data + "templates/.source", places.configHome};
  targets.insert(targets.end(), places.templatesFolders.begin(), places.templatesFolders.end());
  for (const auto& file : FolderActions(places)) {
    targets.push_back(file.path.substr(0, file.path.rfind('/')));
  }
  const std::string thunar = ThunarActionsPath(places.configHome);
  targets.push_back(thunar.substr(0, thunar.rfind('/')));
  // The icon theme's size folders: the one asked about, if it is one.
  const std::string icons = data + "icons/hicolor/";
  targets.push_back(icons);
  if (folder.starts_with(icons)) {
    const std::string_view size =
        folder.substr(icons.size(), folder.find('/', icons.size()) - icons.size());
    if (IsIconSize(size)) targets.push_back(icons + std::string(size) + "/apps");
  }
  return std::ranges::any_of(targets, [folder](std::string_view target) {
    if (target.ends_with('/')) target.remove_suffix(1);
    return target == folder ||
           (target.starts_with(folder) && target.substr(folder.size()).starts_with('/'));
  });
}

std::vector<std::string_view> ToolCachesIn(std::string_view folder, const GeneratedPlaces& places) {
  if (folder == places.dataHome + "/mime") {
    return {"XMLnamespaces", "aliases",    "generic-icons", "globs",     "globs2", "icons",
            "magic",         "mime.cache", "subclasses",    "treemagic", "types",  "version"};
  }
  if (folder == places.dataHome + "/applications") return {"mimeinfo.cache"};
  return {};
}

}  // namespace trelik
