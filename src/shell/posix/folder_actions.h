#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// The folder context-menu entry "Make a Trelik template", written for each file manager through
// its own per-user extension point. Each file starts as the desktop files of Trelik do, so that
// it is known as Trelik's (HoldsTrelikHeader).
struct FolderActionFile {
  std::string path;
  std::string contents;
  bool executable = false;  // Nautilus and Caja run scripts, Dolphin loads only executable menus
};

// Dolphin's KIO service menu, Nemo's action, the scripts of Nautilus and Caja, and the
// file-manager action that PCManFM and PCManFM-Qt read, each starting `executablePath`.
std::vector<FolderActionFile> FolderActionFiles(const std::string& dataHome,
                                                const std::string& configHome,
                                                const std::string& executablePath);

// Thunar keeps its custom actions in the user's uca.xml, one file with the user's own.
std::string ThunarActionsPath(const std::string& configHome);
// What Thunar reads while the user has no uca.xml: the system's actions, which Trelik's action
// is added to, so that the user keeps seeing them.
inline constexpr const char* kSystemThunarActionsPath = "/etc/xdg/Thunar/uca.xml";
inline constexpr std::string_view kEmptyThunarActions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";

// `uca` with Trelik's action, replacing an older one of Trelik's, every other byte kept;
// nullopt when `uca` holds no action list to add it to.
std::optional<std::string> WithThunarAction(std::string_view uca,
                                            const std::string& executablePath);
// `uca` without Trelik's action, every other byte kept.
std::string WithoutThunarAction(std::string_view uca);

}  // namespace trelik
