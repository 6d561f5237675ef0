#include "creation/token_fill.h"

#include "common/system_error.h"

namespace trelik {
namespace {

class TreeFiller {
 public:
  TreeFiller(ProjectTokens& tokens, bool fillContents, ShellOperations& shell,
             const PathSeparators& separators)
      : tokens_(tokens), fillContents_(fillContents), shell_(shell), separators_(separators) {}

  // Fills what is inside `folder`, which is `relative` in the tree: first the content, under the
  // names it was listed with, then the names.
  bool Fill(const std::string& folder, const std::string& relative) {
    const FolderEntries listing = shell_.ReadFolderEntries(folder);
    if (listing.failure) return Fail(relative, listing.failure);
    std::vector<std::string> names;
    for (const FolderEntry& entry : listing.entries) {
      names.push_back(entry.name);
      const std::string path = JoinPath(folder, entry.name, separators_);
      const std::string inTree = JoinPath(relative, entry.name, separators_);
      if (entry.kind == EntryKind::kFolder) {
        if (!Fill(path, inTree)) return false;
      } else if (entry.kind == EntryKind::kFile && fillContents_ && entry.size <= kFillLimit) {
        if (!FillFile(path, inTree)) return false;
      }
    }
    const NameRewrites rewrites = RewriteNames(names, tokens_.ForAll(names), separators_);
    for (const auto& name : rewrites.refused) {
      result.refused.push_back(JoinPath(relative, name, separators_));
    }
    for (const auto& change : rewrites.changes) {
      if (const std::error_code error =
              shell_.RenamePath(JoinPath(folder, change.from, separators_),
                                JoinPath(folder, change.to, separators_))) {
        return Fail(JoinPath(relative, change.from, separators_), error);
      }
    }
    return true;
  }

  TreeFill result;

 private:
  bool FillFile(const std::string& path, const std::string& inTree) {
    const FileRead read = shell_.ReadFileStart(path, kFillLimit + 1);
    if (read.failure) return Fail(inTree, read.failure);
    const auto filled = FilledContents(read.bytes, tokens_.For(read.bytes));
    if (!filled) return true;
    if (const std::error_code error = shell_.RewriteFile(path, *filled)) return Fail(inTree, error);
    return true;
  }

  // Named by its place in the tree: the tree may be a hidden copy that is gone by the time the
  // user reads this.
  bool Fail(const std::string& inTree, const std::error_code& error) {
    result.failure = "\"" + inTree + "\" could not be filled in: " + SystemErrorText(error);
    return false;
  }

  ProjectTokens& tokens_;
  bool fillContents_;
  ShellOperations& shell_;
  const PathSeparators& separators_;
};

}  // namespace

TreeFill FillTokensInTree(const std::string& root, ProjectTokens& tokens, bool fillContents,
                          ShellOperations& shell, const PathSeparators& separators) {
  TreeFiller filler(tokens, fillContents, shell, separators);
  filler.Fill(root, "");
  return filler.result;
}

}  // namespace trelik
