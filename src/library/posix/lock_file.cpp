#include "library/lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

#include "common/system_error.h"
#include "library/file_access.h"

namespace trelik {
namespace {

// The byte that the holder locks, the same as the Windows build's, so that Wine's locks (kept as
// the system's record locks) and ours meet. Open-file-description locks are used: a process's
// plain record locks would not stand against each other, and would go when any of its
// descriptors of the file closed.
struct flock HeldByte(short type) {
  struct flock byte {};
  byte.l_type = type;
  byte.l_whence = SEEK_SET;
  byte.l_start = off_t{1} << 30;
  byte.l_len = 1;
  return byte;
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// Whether `path` still names the file open as `file`: another program may have removed it and
// made a new lock there.
bool IsStillNamed(int file, const std::string& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(file, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

std::string ThisMachine() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::uint64_t ThisProcess() { return static_cast<std::uint64_t>(::getpid()); }

OwnLockFile::OwnLockFile(std::string path, std::string_view contents) : path_(std::move(path)) {
  const int file = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (file < 0) {
    failure_ = LastSystemError();
    return;
  }
  handle_ = file;
  // Locked before it names its holder, so that whoever reads the name finds the lock held. Where
  // the file system keeps no locks, the name alone tells.
  struct flock held = HeldByte(F_WRLCK);
  static_cast<void>(::fcntl(file, F_OFD_SETLK, &held));
  if (::write(file, contents.data(), contents.size()) != static_cast<ssize_t>(contents.size())) {
    failure_ = LastSystemError();
    ::unlink(path_.c_str());
  }
}

OwnLockFile::~OwnLockFile() {
  if (handle_ < 0) return;
  // Removed before the lock goes with the descriptor: the name never stands unheld.
  if (!failure_ && IsStillNamed(Descriptor(handle_), path_)) ::unlink(path_.c_str());
  ::close(Descriptor(handle_));
}

FoundLockFile::FoundLockFile(std::string path) : path_(std::move(path)) {
  // Writable where it may be, for the lock that Wine's programs take too; a pipe cannot hang it.
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int file = ::open(path_.c_str(), O_RDWR | kFlags);
  if (file < 0 && (errno == EACCES || errno == EROFS))
    file = ::open(path_.c_str(), O_RDONLY | kFlags);
  if (file < 0) {
    failure_ = LastSystemError();
    return;
  }
  handle_ = file;
  struct stat info {};
  if (::fstat(file, &info) != 0) {
    failure_ = LastSystemError();
    return;
  }
  if (!S_ISREG(info.st_mode)) {
    failure_ = MakeErrorCode(FileDamage::kNotRegular);
    return;
  }
  age_ = std::chrono::seconds(std::time(nullptr) - info.st_mtime);
  char bytes[4096];
  const ssize_t count = ::read(file, bytes, sizeof bytes);
  if (count < 0) {
    failure_ = LastSystemError();
    return;
  }
  text_.assign(bytes, static_cast<std::size_t>(count));
}

FoundLockFile::~FoundLockFile() {
  if (handle_ >= 0) ::close(Descriptor(handle_));
}

std::optional<bool> FoundLockFile::IsHeld() const {
  struct flock probe = HeldByte(F_WRLCK);
  if (::fcntl(Descriptor(handle_), F_OFD_GETLK, &probe) != 0) return std::nullopt;
  return probe.l_type != F_UNLCK;
}

bool FoundLockFile::Remove() {
  const int file = Descriptor(handle_);
  struct flock mine = HeldByte(F_WRLCK);
  int taken = ::fcntl(file, F_OFD_SETLK, &mine);
  // A lock file of another user, open for reading only: programs of this user still break it
  // one at a time.
  if (taken != 0 && errno == EBADF) taken = ::flock(file, LOCK_EX | LOCK_NB);
  if (taken != 0 && (errno == EAGAIN || errno == EACCES || errno == EWOULDBLOCK)) return false;
  // Taken, or the file system keeps no locks: this file is broken by us alone, if still named.
  return IsStillNamed(file, path_) && ::unlink(path_.c_str()) == 0;
}

FolderAccess WriteAccess(const std::string& folder) {
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) {
    return FolderAccess::kWritable;
  }
  const int error = errno;
  struct stat info {};
  if (error == ENOENT || error == ENOTDIR || ::stat(folder.c_str(), &info) != 0) {
    return FolderAccess::kMissing;
  }
  return FolderAccess::kReadOnly;
}

}  // namespace trelik
