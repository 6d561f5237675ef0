#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// The template list as the list file stores it: one name per line, each ending in CR LF.
std::string FormatTemplateListText(const std::vector<std::string>& list);

// The lines of a list file's text: CR LF, LF and CR each end a line, empty lines are kept, a
// line end at the very end adds no entry, and the text ends at its first NUL. A leading UTF-8
// byte-order mark, which some editors write, is no part of the first name.
std::vector<std::string> ParseTemplateListText(std::string_view text);

// The list to save when the program read `base` from the file, holds `mine` now, and the file
// holds `theirs`, another program having saved it meanwhile: `mine` without the names the other
// removed since `base`, then the names it added. Names are compared as the editor's list does,
// regardless of letter case.
std::vector<std::string> MergeTemplateLists(const std::vector<std::string>& base,
                                            const std::vector<std::string>& mine,
                                            const std::vector<std::string>& theirs);

// Replaces `list` by the file's lines; throws Error("Cannot open file ...") and leaves `list`
// as it was when the file cannot be read. Returns false when the text held a NUL: only the
// lines before it are loaded then, and saving the list would lose the rest.
bool LoadTemplateList(const std::string& path, std::vector<std::string>& list);

// As LoadTemplateList, but when nothing at all stands at `path` the list is emptied. Anything
// else that cannot be read (a folder, a pipe, a file that may not be read) raises the error.
bool LoadTemplateListIfAny(const std::string& path, std::vector<std::string>& list);

// Replaces the file by the list's text, atomically, keeping its byte-order mark; throws
// Error("Cannot create file ...") or Error("Stream write error"), and the old file is then still
// whole.
void SaveTemplateList(const std::string& path, const std::vector<std::string>& list);

}  // namespace trelik
