#include "shell/posix/desktop_files.h"

#include <algorithm>

#include "common/utf8.h"

namespace trelik {
namespace {

constexpr std::string_view kMarker =
    "Written by Trelik from its file types; rewritten when they change.";

std::string XmlEscaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// A desktop entry string value: backslashes escaped, and leading blanks kept, which readers
// would otherwise drop.
std::string EntryValue(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == ' ' && escaped.empty()) {
      escaped += "\\s";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// The characters that desktop entries reserve in Exec lines: an argument holding one
// must be quoted.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";

}  // namespace

// xdg-open in its generic mode (no desktop detected) takes the first word of the line as it
// stands, quotes and all, and cannot start a quoted program. Inside quotes ", `, $ and \ are
// escaped; a literal % is always doubled; the string rule then escapes every backslash once
// more and the control characters it names.
std::string ExecArgument(std::string_view argument) {
  const bool quoted = argument.find_first_of(kReservedInExec) != std::string_view::npos;
  std::string exec = quoted ? "\"" : "";
  for (const char c : argument) {
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) exec += '\\';
    if (c == '%') exec += '%';
    exec += c;
  }
  if (quoted) exec += '"';
  std::string value;
  for (const char c : exec) {
    if (c == '\\') {
      value += "\\\\";
    } else if (c == '\n') {
      value += "\\n";
    } else if (c == '\t') {
      value += "\\t";
    } else {
      value += c;
    }
  }
  return value;
}

std::string TrelikHeaderComment() { return "# " + std::string(kMarker) + "\n"; }

bool HoldsTrelikHeader(std::string_view contents) {
  const std::size_t lineEnd = contents.find('\n');
  if (lineEnd == std::string_view::npos) return false;
  const std::string_view second = contents.substr(lineEnd + 1);
  return second.starts_with("# " + std::string(kMarker) + "\n") ||
         second.starts_with("<!-- " + std::string(kMarker) + " -->\n");
}

std::string MimePackageText(const std::vector<DesktopType>& types) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!-- ";
  text.append(kMarker).append(
      " -->\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
  for (const auto& type : types) {
    text.append("  <mime-type type=\"").append(type.mimeType).append("\">\n");
    text.append("    <comment>").append(XmlEscaped(type.description)).append("</comment>\n");
    text.append("    <icon name=\"").append(kIconName).append("\"/>\n");
    // GTK file managers otherwise show the theme's generic document icon over ours.
    text.append("    <generic-icon name=\"").append(kIconName).append("\"/>\n");
    text.append("    <glob pattern=\"*")
        .append(XmlEscaped(type.extension))
        .append("\" case-sensitive=\"true\"/>\n");
    text.append("  </mime-type>\n");
  }
  text.append("</mime-info>\n");
  return text;
}

// It only opens the types: menus show the installed menu entry, which starts the editor.
std::string ApplicationEntryText(const std::vector<DesktopType>& types,
                                 const std::string& executablePath) {
  std::string text = "[Desktop Entry]\n# ";
  text.append(kMarker).append(
      "\n"
      "Type=Application\n"
      "Name=Trelik\n"
      "GenericName=Project Templates\n"
      "Comment=Extend New menu to set up new Projects\n"
      "Icon=");
  text.append(kIconName).append("\nExec=").append(ExecArgument(executablePath)).append(" %f\n");
  text.append(
      "Terminal=false\n"
      "NoDisplay=true\n"
      "Categories=Development;\n"
      "MimeType=");
  for (const auto& type : types) text.append(type.mimeType).append(";");
  text.append("\n");
  return text;
}

// The name before the extension plays no part in a creation, so a long one is cut, at a
// character's start, for the whole to fit a file name.
std::string LauncherTemplateName(const DesktopType& type) {
  const std::string& name = type.templateName;
  std::size_t end = 0;
  while (end < name.size()) {
    const std::size_t next = end + std::max<std::size_t>(1, Utf8SequenceLength(name, end));
    if (next + type.extension.size() > kMaxFileNameBytes) break;
    end = next;
  }
  return name.substr(0, end) + type.extension;
}

std::string DolphinLinkText(const DesktopType& type, const std::string& sourcePath) {
  std::string text = "[Desktop Entry]\n# ";
  // Hidden: PCManFM-Qt would offer the entry itself as a second template, which creates a dead
  // link; KDE's New menu still reads it (NoDisplay would hide it there too).
  text.append(kMarker)
      .append("\nType=Link\nHidden=true\nName=")
      .append(EntryValue(type.templateName));
  text.append("\nComment=File name of the new launcher for ")
      .append(EntryValue(type.templateName))
      .append(":\nIcon=")
      .append(kIconName)
      .append("\nURL=")
      .append(EntryValue(sourcePath))
      .append("\n");
  return text;
}

std::string DolphinLinkName(const DesktopType& type) {
  std::string name = type.mimeType.substr(type.mimeType.find("x-") + 2);
  return name.append(".desktop");
}

}  // namespace trelik
