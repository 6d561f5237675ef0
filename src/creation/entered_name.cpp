#include "creation/entered_name.h"

#include <algorithm>

#include "common/blank.h"

namespace trelik {
namespace {

constexpr std::string_view kPieceSeparator = "\\";

}  // namespace

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    if (!text.empty()) pieces.emplace_back(text);
    return pieces;
  }
  for (auto at = text.find(delimiter); at != std::string_view::npos; at = text.find(delimiter)) {
    if (at > 0) pieces.emplace_back(text.substr(0, at));
    text.remove_prefix(at + delimiter.size());
  }
  if (!text.empty()) pieces.emplace_back(text);
  return pieces;
}

EnteredName ClassifyEnteredName(std::string_view typed) {
  // Neither slash can be part of a file name on either system, and Linux users type "/" by
  // habit: both separate the pieces.
  std::string separated(typed);
  std::replace(separated.begin(), separated.end(), '/', kPieceSeparator.front());
  const std::string_view rightTrimmed = TrimBlanksRight(separated);
  const std::string_view splitText = TrimBlanksLeft(rightTrimmed);
  if (splitText.empty()) return {NameForm::kNoName, {}, {}};

  auto pieces = SplitText(splitText, kPieceSeparator);
  if (pieces.size() == 2) return {NameForm::kFolderAndFile, pieces[0], pieces[1]};
  if (pieces.size() != 1) return {NameForm::kUnrecognised, {}, {}};
  // The end is tested before the start: "\Web\" names a folder.
  if (rightTrimmed.ends_with(kPieceSeparator)) return {NameForm::kFolderOnly, pieces[0], {}};
  if (rightTrimmed.starts_with(kPieceSeparator)) return {NameForm::kFileOnly, {}, pieces[0]};
  return {NameForm::kPlainName, {}, {}};
}

}  // namespace trelik
