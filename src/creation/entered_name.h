#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trelik {

// The non-empty stretches of `text` between occurrences of `delimiter`, in order. Delimiters at
// either end and runs of them add no empty entries; an empty delimiter never matches.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);

// How the typed name says the copied template is to be named.
enum class NameForm { kNoName, kFolderAndFile, kFolderOnly, kFileOnly, kPlainName, kUnrecognised };

struct EnteredName {
  NameForm form = NameForm::kNoName;
  std::string folderPart;  // the new project folder's name, for kFolderAndFile and kFolderOnly
  std::string filePart;    // the new main file's name without extension, for kFolderAndFile
                           // and kFileOnly
};

// Sorts the typed name into its form. Blanks (codes 0 to 32) are trimmed only at the two ends;
// the pieces are split at backslashes and slashes whatever the platform.
EnteredName ClassifyEnteredName(std::string_view typed);

}  // namespace trelik
