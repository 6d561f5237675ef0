#pragma once

#include <string>
#include <vector>

#include "common/path_parts.h"
#include "creation/token_values.h"
#include "shell/shell_operations.h"

namespace trelik {

struct TreeFill {
  std::vector<std::string> refused;  // names left as they were, as paths inside the tree
  std::string failure;               // why filling stopped part-way; empty when it went through
};

// Fills the tokens in the name of every entry inside the folder `root` and, with
// `fillContents`, in the text of its files (see FilledContents). Folders are entered, links
// never; each file is replaced whole, so a failure leaves no file half-written.
TreeFill FillTokensInTree(const std::string& root, ProjectTokens& tokens, bool fillContents,
                          ShellOperations& shell, const PathSeparators& separators);

}  // namespace trelik
