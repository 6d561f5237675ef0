#pragma once

#include <string>
#include <system_error>

namespace trelik {

// The calling thread's last error (errno or GetLastError()), to be taken right where a call
// failed, before anything else can change it.
std::error_code LastSystemError();

// The system's own description of the calling thread's last error, cleaned for use inside a
// sentence.
std::string LastSystemErrorText();

// The system's description of an error captured where a call failed, cleaned the same way.
std::string SystemErrorText(const std::error_code& error);

// True when `error` says that a path names nothing: the entry or a folder on its way is missing.
// Other failures (no permission, a path too long) mean that something may well be there.
bool NamesNothing(const std::error_code& error);

// Cuts trailing blanks, line ends and full stops off a system message, since the messages that
// quote it supply their own ending.
std::string CleanSystemMessage(std::string message);

}  // namespace trelik
