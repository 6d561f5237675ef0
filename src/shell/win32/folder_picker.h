#pragma once

#include <string>

#include "shell/shell_operations.h"

namespace trelik {

// Shows the shell's resizable folder picker with an edit box, owned by `owner` and centred on the
// window that was active when it was asked for, with `title` above the folder tree; only
// file-system folders can be chosen. While it is open every visible, enabled top-level
// window of the calling thread is disabled, and a drive without a medium shows no system error
// box. True with `folder` set to the chosen path; false, `folder` untouched, when the user
// cancels or the shell cannot show the picker.
//
// The picker needs COM on the calling thread: when the thread has not initialised it (the
// program's start-up may, with OleInitialize or CoInitializeEx apartment-threaded), it is
// initialised for the picker's duration.
bool PickFolder(NativeWindow owner, const std::string& title, std::string& folder);

}  // namespace trelik
