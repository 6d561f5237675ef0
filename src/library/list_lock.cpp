#include "library/list_lock.h"

#include <cstdio>
#include <thread>

#include "common/error.h"
#include "common/notice.h"
#include "common/system_error.h"
#include "library/file_access.h"
#include "library/lock_file.h"

namespace trelik {

std::string FormatLockHolder(const LockHolder& holder) {
  return holder.machine + "\n" + std::to_string(holder.process) + "\n";
}

std::optional<LockHolder> ParseLockHolder(std::string_view text) {
  const std::size_t end = text.find('\n');
  if (end == 0 || end == std::string_view::npos || !text.ends_with('\n')) return std::nullopt;
  const std::string_view number = text.substr(end + 1, text.size() - end - 2);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos ||
      number.size() > 19) {
    return std::nullopt;
  }
  return LockHolder{std::string(text.substr(0, end)), std::stoull(std::string(number))};
}

LockVerdict JudgeLock(const std::optional<LockHolder>& holder, const std::string& thisMachine,
                      const std::function<bool(std::uint64_t)>& isRunning,
                      std::chrono::seconds age) {
  if (holder && holder->machine == thisMachine) {
    return isRunning(holder->process) ? LockVerdict::kWait : LockVerdict::kBreak;
  }
  return age > kForeignLockLimit ? LockVerdict::kReportAndBreak : LockVerdict::kWait;
}

ListLock::ListLock(std::string path, const std::function<void(const std::string&)>& tell,
                   std::chrono::milliseconds patience)
    : path_(std::move(path)), mine_(FormatLockHolder({ThisMachine(), ThisProcess()})) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    const std::error_code failure = CreateNewFile(path_, mine_);
    if (!failure) return;
    if (failure != std::errc::file_exists) {
      throw Error("The template list cannot be locked: \"" + path_ + "\" cannot be made. " +
                  SystemErrorText(failure));
    }
    const FileRead found = ReadWholeFile(path_);
    if (IsMissingFile(found.failure)) continue;  // released meanwhile
    const auto holder = ParseLockHolder(found.bytes);
    const LockVerdict verdict = JudgeLock(holder, ThisMachine(), IsProcessRunning,
                                          FileAge(path_).value_or(std::chrono::seconds(0)));
    const std::string who = holder ? "Trelik on " + holder->machine + " (process " +
                                         std::to_string(holder->process) + ")"
                                   : "another Trelik";
    // Read again just before: another program that broke it may have taken it anew meanwhile.
    if (verdict != LockVerdict::kWait && ReadWholeFile(path_).bytes == found.bytes) {
      if (verdict == LockVerdict::kReportAndBreak) {
        tell(WithNextStep("The lock \"" + path_ + "\" left by " + who +
                              " over a minute ago was removed, and the template list saved.",
                          "If that computer was still saving, check the list there."));
      }
      std::remove(path_.c_str());
      continue;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw Error(WithNextStep(
          "The template list is being saved by " + who + ": \"" + path_ + "\" is there.",
          "Try again in a moment."));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

ListLock::~ListLock() {
  if (ReadWholeFile(path_).bytes == mine_) std::remove(path_.c_str());
}

}  // namespace trelik
