// The calls are replaced for the whole test program that links this file; they behave as the C
// library's own until a LinklessFileSystem is made.
#include "support/linkless_file_system.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<bool> linkless{false};

int Refuse(int error) {
  errno = error;
  return -1;
}

}  // namespace

extern "C" int renameat2(int oldDir, const char* oldName, int newDir, const char* newName,
                         unsigned int flags) {
  if (linkless && flags != 0) return Refuse(EINVAL);
  return static_cast<int>(::syscall(SYS_renameat2, oldDir, oldName, newDir, newName, flags));
}

extern "C" int linkat(int oldDir, const char* oldName, int newDir, const char* newName, int flags) {
  if (linkless) return Refuse(EPERM);
  return static_cast<int>(::syscall(SYS_linkat, oldDir, oldName, newDir, newName, flags));
}

extern "C" int link(const char* oldPath, const char* newPath) {
  return linkat(AT_FDCWD, oldPath, AT_FDCWD, newPath, 0);
}

namespace trelik::testing {

LinklessFileSystem::LinklessFileSystem() { linkless = true; }
LinklessFileSystem::~LinklessFileSystem() { linkless = false; }

}  // namespace trelik::testing
