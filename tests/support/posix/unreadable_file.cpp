#include "support/unreadable_file.h"

#include <unistd.h>

namespace trelik::testing {

UnreadableFile::UnreadableFile(const std::string& path) : path_(path) {
  static_cast<void>(::symlink("/proc/self/mem", path.c_str()));
}

UnreadableFile::~UnreadableFile() { ::unlink(path_.c_str()); }

}  // namespace trelik::testing
