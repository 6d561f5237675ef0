#include "shell/posix/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "common/error.h"
#include "common/path_parts.h"
#include "common/system_error.h"
#include "library/file_access.h"
#include "library/posix/folders.h"
#include "shell/registry_text.h"

namespace trelik {
namespace {

RegistryNode LoadStore(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return {};
  const FileRead text = ReadWholeFile(path);
  if (text.failure) {
    throw Error("Cannot read the file-type store \"" + path + "\". " +
                SystemErrorText(text.failure));
  }
  std::string problem;
  auto root = ParseRegistryText(text.bytes, problem);
  if (!root) {
    throw Error("The file-type store \"" + path + "\" is damaged (" + problem +
                "); it is left as it is and no file type can be registered until it is "
                "repaired or removed");
  }
  return std::move(*root);
}

std::string CannotHoldMessage(const std::string& path) {
  return "Cannot write " + path + ": a line break or a NUL in a name or value cannot be kept";
}

}  // namespace

RegistryNode ReadRegistryStore(const std::string& path) { return LoadStore(path); }

RegistryStore::RegistryStore(const std::string& path) : RegistryStore(path, TakeLock(path)) {}

RegistryStore::RegistryStore(const std::string& path, Lock lock)
    : MemoryRegistry(LoadStore(path)),
      path_(path),
      lock_(std::move(lock.file)),
      lockFailure_(lock.failure) {}

std::optional<std::string> RegistryStore::RefuseChange(const std::vector<std::string>& /*key*/,
                                                       const RegistryValue* value) const {
  if (lockFailure_) return "Cannot write " + path_ + ": " + SystemErrorText(lockFailure_);
  if (value != nullptr && !(RegistryTextCanHold(value->name) && RegistryTextCanHold(value->data))) {
    return CannotHoldMessage(path_);
  }
  return std::nullopt;
}

std::optional<std::string> RegistryStore::Save(const RegistryNode& root) {
  const auto text = FormatRegistryText(root);
  if (!text) return CannotHoldMessage(path_);
  const auto failure = ReplaceFileAtomically(path_, *text);
  if (!failure) return std::nullopt;
  return "Cannot write " + path_ + ": " + SystemErrorText(failure->error);
}

RegistryStore::Lock RegistryStore::TakeLock(const std::string& path) {
  // The store file itself is replaced at every save, so the lock lives in a file of its own.
  const std::string lockPath = path + ".lock";
  // A folder that cannot be made fails the open below.
  static_cast<void>(CreateMissingFolders(DirectoryPart(path, kPosixSeparators), 0777));
  Lock lock{UniqueFd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)), {}};
  if (!lock.file.IsOpen()) {
    // A lock file that others made and this user may only read locks all the same.
    const std::error_code openError = LastSystemError();
    lock.file = UniqueFd(::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!lock.file.IsOpen()) {
      lock.failure = openError;
      return lock;
    }
  }
  while (::flock(lock.file.Get(), LOCK_EX) != 0) {
    if (errno != EINTR) {
      lock.failure = LastSystemError();
      break;
    }
  }
  return lock;
}

}  // namespace trelik
