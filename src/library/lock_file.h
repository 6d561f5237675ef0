#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace trelik {

// What the system offers a lock file kept in a folder that several computers may share. Its
// content says who holds it, for every program that reads it; the system's own lock on it, held
// as long as its holder lives, tells the programs of this computer (the Linux build and the
// Windows build under Wine alike) whether that holder still runs.

// This computer as its lock files name it: its full host name, which the Windows build under
// Wine reads as the Linux build does.
std::string ThisMachine();
std::uint64_t ThisProcess();

// A lock file made by this process, held until the object goes.
class OwnLockFile {
 public:
  // Makes the file with `contents`; Failure() is std::errc::file_exists when anything stands
  // there.
  OwnLockFile(std::string path, std::string_view contents);
  ~OwnLockFile();  // removes the file while its name is still this file's
  OwnLockFile(const OwnLockFile&) = delete;
  OwnLockFile& operator=(const OwnLockFile&) = delete;

  const std::error_code& Failure() const { return failure_; }

 private:
  std::string path_;
  std::intptr_t handle_ = -1;
  std::error_code failure_;
};

// A lock file found in place, held open so that the file judged is the file removed.
class FoundLockFile {
 public:
  explicit FoundLockFile(std::string path);
  ~FoundLockFile();
  FoundLockFile(const FoundLockFile&) = delete;
  FoundLockFile& operator=(const FoundLockFile&) = delete;

  // Why it could not be read; NamesNothing when its holder removed it meanwhile.
  const std::error_code& Failure() const { return failure_; }
  const std::string& Text() const { return text_; }
  std::chrono::seconds Age() const { return age_; }  // since it was written

  // Whether a live process of this computer holds it; nullopt where the file system keeps no
  // locks to tell by.
  std::optional<bool> IsHeld() const;

  // Removes the file from its path, unless another program removed it first and a new lock may
  // stand there now. The system's lock on the file is taken meanwhile, so that two programs of
  // this computer breaking it at once never both remove. True when it was removed.
  bool Remove();

 private:
  std::string path_;
  std::intptr_t handle_ = -1;
  std::error_code failure_;
  std::string text_;
  std::chrono::seconds age_{0};
};

// Whether files can be made in a folder, as trying would tell.
enum class FolderAccess { kWritable, kReadOnly, kMissing };
FolderAccess WriteAccess(const std::string& folder);

}  // namespace trelik
