#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "library/lock_file.h"

namespace trelik {

// Who holds a lock file, as it says: the computer's name and the process's id, a line each.
struct LockHolder {
  std::string machine;
  std::uint64_t process = 0;
  bool operator==(const LockHolder&) const = default;
};
std::string FormatLockHolder(const LockHolder& holder);
std::optional<LockHolder> ParseLockHolder(std::string_view text);

// A lock of another computer, or one that cannot be read, older than this is taken to have been
// left behind: no save of the list takes that long.
inline constexpr std::chrono::seconds kForeignLockLimit{60};

enum class LockVerdict { kWait, kBreak, kReportAndBreak };
// What to do about a lock found taken. A lock of this computer is broken once no process holds
// the system's lock on it (`held`), which its holder keeps while it lives; any other, and one of
// this computer where the file system keeps no such locks, is waited for until it is older than
// kForeignLockLimit, and then broken with a word to the user, since its computer may still be
// saving.
LockVerdict JudgeLock(const std::optional<LockHolder>& holder, const std::string& thisMachine,
                      std::optional<bool> held, std::chrono::seconds age);

// A lock file held while the template list is read, merged and saved, so that programs on this
// or other computers sharing the library never save over each other's changes. It is a plain
// file, so a synced folder carries it too.
class ListLock {
 public:
  // Takes the lock at `path`, waiting for its holder at most `patience`; `tell` hears of a lock of
  // another computer that was broken. Throws Error when it cannot be taken.
  ListLock(const std::string& path, const std::function<void(const std::string&)>& tell,
           std::chrono::milliseconds patience = std::chrono::seconds(10));

 private:
  std::optional<OwnLockFile> file_;  // removed when the lock goes
};

}  // namespace trelik
