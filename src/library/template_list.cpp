#include "library/template_list.h"

#include <algorithm>

#include "common/error.h"
#include "common/letter_case.h"
#include "common/system_error.h"
#include "library/file_access.h"

namespace trelik {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool Holds(const std::vector<std::string>& list, const std::string& name) {
  return std::ranges::any_of(list,
                             [&name](const auto& entry) { return EqualIgnoringCase(entry, name); });
}

}  // namespace

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
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
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

std::vector<std::string> MergeTemplateLists(const std::vector<std::string>& base,
                                            const std::vector<std::string>& mine,
                                            const std::vector<std::string>& theirs) {
  std::vector<std::string> merged;
  for (const auto& name : mine) {
    if (Holds(theirs, name) || !Holds(base, name)) merged.push_back(name);
  }
  for (const auto& name : theirs) {
    if (!Holds(base, name) && !Holds(mine, name)) merged.push_back(name);
  }
  return merged;
}

bool LoadTemplateList(const std::string& path, std::vector<std::string>& list) {
  const FileRead contents = ReadWholeFile(path);
  if (contents.failure) {
    throw Error("Cannot open file \"" + AbsolutePath(path) + "\". " +
                SystemErrorText(contents.failure));
  }
  list = ParseTemplateListText(contents.bytes);
  return contents.bytes.find('\0') == std::string::npos;
}

bool LoadTemplateListIfAny(const std::string& path, std::vector<std::string>& list) {
  if (!IsMissingFile(ReadFileStart(path, 0).failure)) return LoadTemplateList(path, list);
  list.clear();
  return true;
}

void SaveTemplateList(const std::string& path, const std::vector<std::string>& list) {
  const bool marked = ReadFileStart(path, kByteOrderMark.size()).bytes == kByteOrderMark;
  const auto failure = ReplaceFileAtomically(
      path, (marked ? std::string(kByteOrderMark) : "") + FormatTemplateListText(list));
  if (!failure) return;
  if (failure->whileWriting) throw Error("Stream write error");
  throw Error("Cannot create file \"" + AbsolutePath(path) + "\". " +
              SystemErrorText(failure->error));
}

}  // namespace trelik
