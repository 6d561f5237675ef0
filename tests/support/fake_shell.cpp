#include "support/fake_shell.h"

#include <filesystem>

#include "shell/copy_name.h"

namespace trelik::testing {
namespace fs = std::filesystem;

std::optional<std::string> FakeShell::CopyFolder(NativeWindow, const std::string& source,
                                                 const std::string& destDir) {
  std::error_code error;
  if (copyFails || !fs::is_directory(source, error)) return std::nullopt;
  fs::create_directories(destDir, error);
  const std::string name = fs::path(source).filename().string();
  const std::string free = FreeCopyName(name, [&](const std::string& candidate) {
    return fs::exists(fs::path(destDir) / candidate);
  });
  const fs::path target = fs::path(destDir) / free;
  fs::copy(source, target, fs::copy_options::recursive, error);
  if (error) return std::nullopt;
  return target.string();
}

bool FakeShell::BrowseForFolder(const std::string& title, std::string& folder) {
  browseTitles.push_back(title);
  folder = pickedFolder;
  return !folder.empty();
}

bool FakeShell::RenamePath(const std::string& oldPath, const std::string& newPath) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(newPath, error)) || !fs::exists(oldPath, error)) {
    return false;
  }
  fs::rename(oldPath, newPath, error);
  return !error;
}

bool FakeShell::RemoveFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && fs::remove(path, error);
}

void FakeShell::ShellOpen(NativeWindow owner, const std::string& verb, const std::string& target,
                          ShowCommand show) {
  opened.push_back({verb, target, show, owner});
}

std::vector<std::string> FakeShell::ListFolder(const std::string& pattern) {
  std::vector<std::string> names;
  const fs::path folder = fs::path(pattern).parent_path();
  std::error_code error;
  if (!fs::is_directory(folder, error)) return names;
  names = {".", ".."};
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

bool FakeShell::IsExistingFile(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error) && !fs::is_directory(path, error);
}

}  // namespace trelik::testing
