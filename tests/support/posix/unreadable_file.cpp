#include "support/unreadable_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace trelik::testing {

UnreadableFile::UnreadableFile(const std::string& path) : path_(path) {
  // Without the link the tests that use it would test nothing.
  if (::symlink("/proc/self/mem", path.c_str()) != 0) ADD_FAILURE() << "no link at " << path;
}

UnreadableFile::~UnreadableFile() { ::unlink(path_.c_str()); }

}  // namespace trelik::testing
