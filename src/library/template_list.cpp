#include "library/template_list.h"

#include <algorithm>

#include "common/error.h"
#include "library/file_access.h"

namespace trelik {

std::string FormatTemplateListText(const std::vector<std::string>& list) {
  std::string text;
  for (const auto& entry : list) {
    text += entry;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> ParseTemplateListText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = std::min(text.find_first_of("\r\n", pos), text.size());
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

bool LoadTemplateList(const std::string& path, std::vector<std::string>& list) {
  std::string systemError;
  const auto contents = ReadWholeFile(path, systemError);
  if (!contents) {
    throw Error("Cannot open file \"" + AbsolutePath(path) + "\". " + systemError);
  }
  list = ParseTemplateListText(*contents);
  return contents->find('\0') == std::string::npos;
}

void SaveTemplateList(const std::string& path, const std::vector<std::string>& list) {
  std::string systemError;
  switch (ReplaceFileAtomically(path, FormatTemplateListText(list), systemError)) {
    case ReplaceOutcome::kReplaced:
      return;
    case ReplaceOutcome::kCannotCreate:
      throw Error("Cannot create file \"" + AbsolutePath(path) + "\". " + systemError);
    case ReplaceOutcome::kShortWrite:
      throw Error("Stream write error");
  }
}

}  // namespace trelik
