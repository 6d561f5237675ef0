#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// The template list as the list file stores it: one name per line, each ending in CR LF.
std::string FormatTemplateListText(const std::vector<std::string>& list);

// The lines of a list file's text: CR LF, LF and CR each end a line, empty lines are kept, a
// line end at the very end adds no entry, and the text ends at its first NUL.
std::vector<std::string> ParseTemplateListText(std::string_view text);

// Replaces `list` by the file's lines; throws Error("Cannot open file ...") and leaves `list`
// as it was when the file cannot be read. Returns false when the text held a NUL: only the
// lines before it are loaded then, and saving the list would lose the rest.
bool LoadTemplateList(const std::string& path, std::vector<std::string>& list);

// Replaces the file by the list's text, atomically; throws Error("Cannot create file ...") or
// Error("Stream write error"), and the old file is then still whole.
void SaveTemplateList(const std::string& path, const std::vector<std::string>& list);

}  // namespace trelik
