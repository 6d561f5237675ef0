#include "test_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace trelik::testing {

void MakeFolder(const std::string& path, mode_t mode) {
  ASSERT_EQ(::mkdir(path.c_str(), 0700), 0) << path;
  ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

void MakeFile(const std::string& path, const std::string& bytes, mode_t mode) {
  WriteFileBytes(path, bytes);
  ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

void MakeLink(const std::string& path, const std::string& target) {
  ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0) << path;
}

void SetTimes(const std::string& path, long seconds, long nanoseconds) {
  const timespec times[2] = {{seconds - 1000, 0}, {seconds, nanoseconds}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

struct stat Examine(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path << " is missing";
  return info;
}

std::set<std::string> TreeEntries(const std::string& folder) {
  std::string prefix = folder;
  if (!prefix.ends_with('/')) prefix.push_back('/');
  std::set<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(prefix)) {
    entries.insert(entry.path().string().substr(prefix.size()));
  }
  return entries;
}

}  // namespace trelik::testing
