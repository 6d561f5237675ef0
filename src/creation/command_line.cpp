#include "creation/command_line.h"

namespace trelik {
namespace {

bool IsSeparator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// Reads the item that starts at or after `pos`; returns false when no item is left.
bool ReadItem(std::string_view line, std::size_t& pos, std::string& item) {
  for (;;) {
    while (pos < line.size() && IsSeparator(line[pos])) ++pos;
    if (line.substr(pos, 2) != "\"\"") break;
    pos += 2;
  }
  if (pos >= line.size()) return false;
  item.clear();
  while (pos < line.size() && !IsSeparator(line[pos])) {
    if (line[pos] == '"') {
      const auto close = line.find('"', pos + 1);
      const auto end = close == std::string_view::npos ? line.size() : close;
      item.append(line.substr(pos + 1, end - pos - 1));
      pos = close == std::string_view::npos ? line.size() : close + 1;
    } else {
      item += line[pos++];
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  // The command line is a C string: nothing after a NUL belongs to it.
  const auto nul = commandLine.find('\0');
  if (nul != std::string_view::npos) commandLine = commandLine.substr(0, nul);
  std::vector<std::string> items;
  std::size_t pos = 0;
  std::string item;
  while (ReadItem(commandLine, pos, item)) items.push_back(item);
  return items;
}

std::string LauncherPathFromCommandLine(std::string_view commandLine) {
  const auto items = SplitCommandLine(commandLine);
  return items.size() > 1 ? items[1] : std::string();
}

}  // namespace trelik
