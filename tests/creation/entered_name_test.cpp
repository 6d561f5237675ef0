#include "creation/entered_name.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
  std::string text;
  std::string delimiter;
  Pieces pieces;
};

TEST(SplitText, KeepsOnlyTheNonEmptyStretchesBetweenDelimiters) {
  const SplitCase cases[] = {
      {"Web\\index", "\\", {"Web", "index"}},
      {"\\Web\\index\\", "\\", {"Web", "index"}},
      {"Web\\\\\\index", "\\", {"Web", "index"}},
      {"Web", "\\", {"Web"}},
      {"", "\\", {}},
      {"\\\\\\", "\\", {}},
      {"a\\a\\a", "\\", {"a", "a", "a"}},    // equal pieces are all kept
      {"a--b----c", "--", {"a", "b", "c"}},  // longer delimiters too
      {"a---b", "--", {"a", "-b"}},          // matching resumes after the delimiter
      {"a\\b", "", {"a\\b"}},                // an empty delimiter never matches
      {"", "", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.delimiter), c.pieces) << c.text << " / " << c.delimiter;
  }
}

struct ClassifyCase {
  std::string typed;
  NameForm form;
  std::string folderPart;
  std::string filePart;
};

void ExpectClassified(const ClassifyCase& c) {
  const EnteredName name = ClassifyEnteredName(c.typed);
  EXPECT_EQ(name.form, c.form) << '"' << c.typed << '"';
  EXPECT_EQ(name.folderPart, c.folderPart) << '"' << c.typed << '"';
  EXPECT_EQ(name.filePart, c.filePart) << '"' << c.typed << '"';
}

TEST(ClassifyEnteredName, TheDocumentedExamples) {
  const ClassifyCase cases[] = {
      {"", NameForm::kNoName, "", ""},
      {"   ", NameForm::kNoName, "", ""},
      {"Web\\index", NameForm::kFolderAndFile, "Web", "index"},
      {"\\Web\\index\\", NameForm::kFolderAndFile, "Web", "index"},
      {"Web\\\\index", NameForm::kFolderAndFile, "Web", "index"},
      {"Web\\", NameForm::kFolderOnly, "Web", ""},
      {"Web\\  ", NameForm::kFolderOnly, "Web", ""},
      {"\\Web\\", NameForm::kFolderOnly, "Web", ""},
      {"\\index", NameForm::kFileOnly, "", "index"},
      {"Web", NameForm::kPlainName, "", ""},
      {"  \\index", NameForm::kPlainName, "", ""},
      {"\\", NameForm::kUnrecognised, "", ""},
      {"\\\\\\", NameForm::kUnrecognised, "", ""},
      {"one\\two\\three", NameForm::kUnrecognised, "", ""},
      {"Web \\ index", NameForm::kFolderAndFile, "Web ", " index"},
  };
  for (const auto& c : cases) ExpectClassified(c);
}

TEST(ClassifyEnteredName, BlanksAreControlCharactersAndSpaceAtTheEndsOnly) {
  const ClassifyCase cases[] = {
      {"\t\r\n\x01\x1f ", NameForm::kNoName, "", ""},
      {std::string("\0 \0", 3), NameForm::kNoName, "", ""},
      {"\tWeb\\index\n", NameForm::kFolderAndFile, "Web", "index"},
      {"My Site\\main page", NameForm::kFolderAndFile, "My Site", "main page"},
      {"\x7f", NameForm::kPlainName, "", ""},  // DEL is not blank
      {"\tWeb\\", NameForm::kFolderOnly, "Web", ""},
      {"\\index\t", NameForm::kFileOnly, "", "index"},
      {"\t\\index", NameForm::kPlainName, "", ""},
      {"Web\\ ", NameForm::kFolderOnly, "Web", ""},
      {"\\ index", NameForm::kFileOnly, "", " index"},
      {"Web \\", NameForm::kFolderOnly, "Web ", ""},
  };
  for (const auto& c : cases) ExpectClassified(c);
}

TEST(ClassifyEnteredName, ASlashSeparatesLikeABackslashAndDotsStayInsideTheirPiece) {
  const ClassifyCase cases[] = {
      {"Site/home", NameForm::kFolderAndFile, "Site", "home"},
      {"Site/", NameForm::kFolderOnly, "Site", ""},
      {"/home", NameForm::kFileOnly, "", "home"},
      {"/Site\\", NameForm::kFolderOnly, "Site", ""},
      {"Site\\/home", NameForm::kFolderAndFile, "Site", "home"},
      {"a/b\\c", NameForm::kUnrecognised, "", ""},
      {"/", NameForm::kUnrecognised, "", ""},
      {"Web\\index.old", NameForm::kFolderAndFile, "Web", "index.old"},
      {"..\\..", NameForm::kFolderAndFile, "..", ".."},
      {"Caf\xc3\xa9\\", NameForm::kFolderOnly, "Caf\xc3\xa9", ""},
  };
  for (const auto& c : cases) ExpectClassified(c);
}

}  // namespace
}  // namespace trelik
