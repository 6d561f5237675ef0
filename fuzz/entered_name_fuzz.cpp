// Typed names: SplitText gives the non-empty stretches between delimiters, and the form of a
// typed name matches the pieces it reports: a folder, a file, or both, between backslashes or
// slashes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "creation/entered_name.h"
#include "fuzz_check.h"

namespace {

using trelik::ClassifyEnteredName;
using trelik::EnteredName;
using trelik::NameForm;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimBoth(std::string_view text) {
  text = TrimRight(text);
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view SkipBackslashes(std::string_view text) {
  while (text.starts_with('\\')) text.remove_prefix(1);
  return text;
}

// Whether `text` starts with `piece` and at least `minimum` backslashes; moves `text` past them.
bool TakePiece(std::string_view& text, std::string_view piece, std::size_t minimum) {
  if (!text.starts_with(piece)) return false;
  text.remove_prefix(piece.size());
  const std::size_t before = text.size();
  text = SkipBackslashes(text);
  return before - text.size() >= minimum;
}

// The runs of characters other than backslash.
std::size_t CountPieces(std::string_view text) {
  std::size_t pieces = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' && (i == 0 || text[i - 1] == '\\')) ++pieces;
  }
  return pieces;
}

void CheckSplit(std::string_view text, std::string_view delimiter) {
  const std::vector<std::string> pieces = trelik::SplitText(text, delimiter);
  std::size_t pos = 0;
  for (const std::string& piece : pieces) {
    FUZZ_CHECK(!piece.empty());
    if (!delimiter.empty()) FUZZ_CHECK(piece.find(delimiter) == std::string::npos);
    // The pieces appear in the text in order, without overlapping.
    pos = text.find(piece, pos);
    FUZZ_CHECK(pos != std::string_view::npos);
    pos += piece.size();
  }
  if (delimiter.empty() || text.find(delimiter) == std::string_view::npos) {
    FUZZ_CHECK(pieces == (text.empty() ? std::vector<std::string>{}
                                       : std::vector<std::string>{std::string(text)}));
  }
}

// The typed name, its blanks trimmed, has exactly the shape that its form stands for, a slash
// separating as a backslash does.
void CheckClassified(std::string_view typedAsIs) {
  std::string separated(typedAsIs);
  std::replace(separated.begin(), separated.end(), '/', '\\');
  const std::string_view typed = separated;
  const EnteredName name = ClassifyEnteredName(typedAsIs);
  const EnteredName backslashed = ClassifyEnteredName(typed);
  FUZZ_CHECK(name.form == backslashed.form && name.folderPart == backslashed.folderPart &&
             name.filePart == backslashed.filePart);
  for (const std::string& part : {name.folderPart, name.filePart}) {
    FUZZ_CHECK(part.find_first_of("\\/") == std::string::npos);
  }
  const bool hasFolder =
      name.form == NameForm::kFolderAndFile || name.form == NameForm::kFolderOnly;
  const bool hasFile = name.form == NameForm::kFolderAndFile || name.form == NameForm::kFileOnly;
  FUZZ_CHECK(name.folderPart.empty() != hasFolder);
  FUZZ_CHECK(name.filePart.empty() != hasFile);

  const std::string_view trimmed = TrimBoth(typed);
  std::string_view rest = SkipBackslashes(trimmed);
  const bool endsWithBackslash = trimmed.ends_with('\\');
  switch (name.form) {
    case NameForm::kNoName:
      FUZZ_CHECK(trimmed.empty());
      break;
    case NameForm::kFolderAndFile:
      FUZZ_CHECK(TakePiece(rest, name.folderPart, 1) && TakePiece(rest, name.filePart, 0));
      FUZZ_CHECK(rest.empty());
      break;
    case NameForm::kFolderOnly:
      FUZZ_CHECK(TakePiece(rest, name.folderPart, 1) && rest.empty());
      break;
    case NameForm::kFileOnly:
      // Only a backslash that was typed first counts, not one after blanks.
      FUZZ_CHECK(typed.starts_with('\\') && !endsWithBackslash);
      FUZZ_CHECK(TakePiece(rest, name.filePart, 0) && rest.empty());
      break;
    case NameForm::kPlainName:
      FUZZ_CHECK(!typed.starts_with('\\') && !endsWithBackslash);
      FUZZ_CHECK(CountPieces(trimmed) == 1);
      break;
    case NameForm::kUnrecognised:
      FUZZ_CHECK(CountPieces(trimmed) == 0 || CountPieces(trimmed) > 2);
      break;
  }
}

// Names put together from a folder and a file come apart again.
void CheckComposed(const std::string& folder, const std::string& file) {
  const auto usable = [](std::string_view piece) {
    return !piece.empty() && piece.find_first_of("\\/") == std::string_view::npos;
  };
  if (!usable(folder) || !usable(file) || IsBlank(folder.front()) || IsBlank(file.back())) return;
  const EnteredName both = ClassifyEnteredName(folder + "\\" + file);
  FUZZ_CHECK(both.form == NameForm::kFolderAndFile && both.folderPart == folder &&
             both.filePart == file);
  const EnteredName folderOnly = ClassifyEnteredName(folder + "\\");
  FUZZ_CHECK(folderOnly.form == NameForm::kFolderOnly && folderOnly.folderPart == folder);
  const EnteredName fileOnly = ClassifyEnteredName("\\" + file);
  FUZZ_CHECK(fileOnly.form == NameForm::kFileOnly && fileOnly.filePart == file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view typed(reinterpret_cast<const char*>(data), size);
  CheckClassified(typed);
  CheckSplit(typed, "\\");

  FuzzedDataProvider provider(data, size);
  const std::string delimiter = provider.ConsumeRandomLengthString(4);
  const std::string folder = provider.ConsumeRandomLengthString();
  const std::string file = provider.ConsumeRemainingBytesAsString();
  CheckSplit(folder + file, delimiter);
  CheckComposed(folder, file);
  return 0;
}
