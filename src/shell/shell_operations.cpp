#include "shell/shell_operations.h"

namespace trelik {

void ShellOperations::PrepareCopy(const std::string& /*source*/, const std::string& /*destDir*/) {}

void ShellOperations::DiscardPreparedCopy() {}

FolderEntries ShellOperations::ReadFolderEntries(const std::string& folder) {
  return trelik::ReadFolderEntries(folder);
}

FileRead ShellOperations::ReadFileStart(const std::string& path, std::size_t limit) {
  return trelik::ReadFileStart(path, limit);
}

std::error_code ShellOperations::RewriteFile(const std::string& path, std::string_view contents) {
  return trelik::RewriteFile(path, contents);
}

}  // namespace trelik
