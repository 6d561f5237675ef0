#pragma once

#include <chrono>
#include <string>
#include <system_error>
#include <vector>

namespace trelik {

// Programs are named by arguments[0] and found the way the shell finds them (on PATH, unless the
// name holds a slash); their arguments are passed exactly as given, with no shell in between.

// Starts the program in a session of its own and returns when it has ended or `patience` has
// passed, whichever is first. The program is not our child: it never waits on us as a zombie,
// and one that runs on is left to run. Returns its exit status when it ended in time, 127 when
// it could not be started, and 0 while it runs on: it is taken to be doing its work.
int StartDetached(const std::vector<std::string>& arguments, std::chrono::milliseconds patience);

// How a program that was run to its end fared.
struct RunOutcome {
  std::error_code error;   // why it could not be started or waited for
  bool succeeded = false;  // it ran and exited with status 0
};

// Runs the program with its output discarded and waits for it.
RunOutcome RunAndWait(const std::vector<std::string>& arguments);

// True when `error` says that no executable program of the name was found.
bool IsNotFound(const std::error_code& error);

}  // namespace trelik
