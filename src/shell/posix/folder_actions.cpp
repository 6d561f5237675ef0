#include "shell/posix/folder_actions.h"

#include "common/folder_action.h"
#include "shell/posix/desktop_files.h"

namespace trelik {
namespace {

// The file names Trelik gives its entries; the scripts' name is the menu's label.
constexpr std::string_view kEntryName = "trelik-make-template";
// Thunar tells its actions apart by this element, which its own editor keeps.
constexpr std::string_view kThunarId = "<unique-id>trelik-make-template</unique-id>";

// The command line of a desktop-entry style Exec key, `field` standing for the folder.
std::string ExecLine(const std::string& executablePath, std::string_view field) {
  return ExecArgument(executablePath) + " " + std::string(kEditorCommand) + " " +
         std::string(kTemplateFromOption) + " " + std::string(field);
}

// One word for a POSIX shell and for GLib's command-line parsing, which Thunar uses.
std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '&') {
      escaped += "&amp;";
    } else if (c == '<') {
      escaped += "&lt;";
    } else if (c == '>') {
      escaped += "&gt;";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// Nautilus and Caja start a script in the folder shown, with the chosen items' paths, or none
// when the user clicked the folder's background: the folder shown is then the one meant.
std::string ScriptText(const std::string& executablePath) {
  return "#!/bin/sh\n" + TrelikHeaderComment() + "cd -- \"${1:-.}\" && exec " +
         ShellQuoted(executablePath) + " " + std::string(kEditorCommand) + " " +
         std::string(kTemplateFromOption) + " \"$PWD\"\n";
}

std::string DolphinServiceMenuText(const std::string& executablePath) {
  return "[Desktop Entry]\n" + TrelikHeaderComment() +
         "Type=Service\n"
         "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
         "MimeType=inode/directory;\n"
         "Actions=makeTrelikTemplate;\n"
         "\n"
         "[Desktop Action makeTrelikTemplate]\n"
         "Name=" +
         std::string(kFolderActionLabel) + "\nIcon=" + kIconName +
         "\nExec=" + ExecLine(executablePath, "%f") + "\n";
}

std::string NemoActionText(const std::string& executablePath) {
  return "[Nemo Action]\n" + TrelikHeaderComment() + "Name=" + std::string(kFolderActionLabel) +
         "\nComment=Add this folder to Trelik's templates\nIcon-Name=" + kIconName +
         "\nExec=" + ExecLine(executablePath, "%F") +
         "\n"
         "Selection=s\n"
         "Extensions=dir;\n";
}

// Without a Tooltip: PCManFM's menu shows an action's tooltip in place of its name.
std::string FileManagerActionText(const std::string& executablePath) {
  return "[Desktop Entry]\n" + TrelikHeaderComment() +
         "Type=Action\nName=" + std::string(kFolderActionLabel) + "\nIcon=" + kIconName +
         "\n"
         "Profiles=folder;\n"
         "\n"
         "[X-Action-Profile folder]\n"
         "MimeTypes=inode/directory;\n"
         "SelectionCount==1\n"
         "Exec=" +
         ExecLine(executablePath, "%f") + "\n";
}

std::string ThunarActionText(const std::string& executablePath) {
  return "<action>\n\t<icon>" + std::string(kIconName) + "</icon>\n\t<name>" +
         std::string(kFolderActionLabel) + "</name>\n\t<submenu></submenu>\n\t" +
         std::string(kThunarId) + "\n\t<command>" +
         XmlEscaped(ShellQuoted(executablePath) + " " + std::string(kEditorCommand) + " " +
                    std::string(kTemplateFromOption) + " %f") +
         "</command>\n\t<description>Add this folder to Trelik's templates</description>\n"
         "\t<range></range>\n\t<patterns>*</patterns>\n\t<directories/>\n</action>\n";
}

// Where the next element of `uca` starts at or after `from`, comments skipped; npos when none.
std::size_t NextTag(std::string_view uca, std::string_view tag, std::size_t from) {
  for (std::size_t at = uca.find('<', from); at != std::string_view::npos;
       at = uca.find('<', at + 1)) {
    if (uca.substr(at).starts_with("<!--")) {
      at = uca.find("-->", at);
      if (at == std::string_view::npos) return at;
    } else if (uca.substr(at).starts_with(tag)) {
      return at;
    }
  }
  return std::string_view::npos;
}

// From the start of the line holding `at`, when only blanks stand before it there.
std::size_t LineStart(std::string_view text, std::size_t at) {
  const std::size_t start = text.find_last_not_of(" \t", at == 0 ? 0 : at - 1);
  if (at == 0 || start == std::string_view::npos) return 0;
  return text[start] == '\n' ? start + 1 : at;
}

}  // namespace

std::vector<FolderActionFile> FolderActionFiles(const std::string& dataHome,
                                                const std::string& configHome,
                                                const std::string& executablePath) {
  const std::string name(kEntryName);
  const std::string label(kFolderActionLabel);
  return {
      {dataHome + "/kio/servicemenus/" + name + ".desktop", DolphinServiceMenuText(executablePath),
       true},
      {dataHome + "/nemo/actions/" + name + ".nemo_action", NemoActionText(executablePath)},
      {dataHome + "/nautilus/scripts/" + label, ScriptText(executablePath), true},
      {configHome + "/caja/scripts/" + label, ScriptText(executablePath), true},
      {dataHome + "/file-manager/actions/" + name + ".desktop",
       FileManagerActionText(executablePath)},
  };
}

std::string ThunarActionsPath(const std::string& configHome) {
  return configHome + "/Thunar/uca.xml";
}

std::optional<std::string> WithThunarAction(std::string_view uca,
                                            const std::string& executablePath) {
  std::string text = WithoutThunarAction(uca);
  const std::size_t list = NextTag(text, "<actions>", 0);
  const std::size_t end = list == std::string::npos ? list : NextTag(text, "</actions>", list);
  if (end == std::string::npos) return std::nullopt;
  // On a line of its own where the list ends on one, else inline, as taking it out expects.
  const std::size_t at = LineStart(text, end);
  std::string action = ThunarActionText(executablePath);
  if (at != 0 && text[at - 1] != '\n') action.pop_back();
  text.insert(at, action);
  return text;
}

std::string WithoutThunarAction(std::string_view uca) {
  std::string text(uca);
  for (std::size_t at = NextTag(text, "<action>", 0); at != std::string::npos;) {
    const std::size_t end = NextTag(text, "</action>", at);
    if (end == std::string::npos) break;
    std::size_t after = end + std::string_view("</action>").size();
    if (text.find(kThunarId, at) > end) {
      at = NextTag(text, "<action>", after);
      continue;
    }
    const std::size_t start = LineStart(text, at);
    // An action on a line of its own takes its line with it.
    if (start == 0 || text[start - 1] == '\n') {
      while (after < text.size() && (text[after] == ' ' || text[after] == '\t')) ++after;
      if (after < text.size() && text[after] == '\n') ++after;
    }
    text.erase(start, after - start);
    at = NextTag(text, "<action>", start);
  }
  return text;
}

}  // namespace trelik
