#include "library/list_lock.h"

#include <thread>

#include "common/error.h"
#include "common/notice.h"
#include "common/system_error.h"

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
                      std::optional<bool> held, std::chrono::seconds age) {
  if (holder && holder->machine == thisMachine && held) {
    return *held ? LockVerdict::kWait : LockVerdict::kBreak;
  }
  return age > kForeignLockLimit ? LockVerdict::kReportAndBreak : LockVerdict::kWait;
}

ListLock::ListLock(const std::string& path, const std::function<void(const std::string&)>& tell,
                   std::chrono::milliseconds patience) {
  const std::string thisMachine = ThisMachine();
  const std::string mine = FormatLockHolder({thisMachine, ThisProcess()});
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    const std::error_code failure = file_.emplace(path, mine).Failure();
    if (!failure) return;
    file_.reset();
    if (failure != std::errc::file_exists) {
      throw Error("The template list cannot be locked: \"" + path + "\" cannot be made. " +
                  SystemErrorText(failure));
    }
    FoundLockFile found(path);
    if (NamesNothing(found.Failure())) continue;  // released meanwhile
    if (found.Failure()) {
      throw Error("The template list cannot be locked: \"" + path + "\" cannot be read. " +
                  SystemErrorText(found.Failure()));
    }
    const auto holder = ParseLockHolder(found.Text());
    const LockVerdict verdict = JudgeLock(holder, thisMachine, found.IsHeld(), found.Age());
    const std::string who = holder ? "Trelik on " + holder->machine + " (process " +
                                         std::to_string(holder->process) + ")"
                                   : "another Trelik";
    // Only the one program that removes it says so; any other finds the lock taken anew.
    if (verdict != LockVerdict::kWait && found.Remove()) {
      if (verdict == LockVerdict::kReportAndBreak) {
        tell(WithNextStep("The lock \"" + path + "\" left by " + who +
                              " over a minute ago was removed, and the template list saved.",
                          "If that computer was still saving, check the list there."));
      }
      continue;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw Error(WithNextStep(
          "The template list is being saved by " + who + ": \"" + path + "\" is there.",
          "Try again in a moment."));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace trelik
