// Drives the shell's real folder picker, so these tests need a display.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "shell/win32/win32_shell_operations.h"

namespace trelik {
namespace {

// What the helper thread saw while the picker was open.
struct PickerObservation {
  HWND picker = nullptr;
  HWND owner = nullptr;
  bool titleShown = false;
  bool resizable = false;
  bool hasEditBox = false;
  POINT centre{};
  bool programWindowEnabled = true;
  UINT errorMode = 0;
  bool closedByEscape = false;
};

BOOL CALLBACK RememberDialog(HWND window, LPARAM found) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND FindDialogOf(DWORD threadId) {
  HWND found = nullptr;
  EnumThreadWindows(threadId, &RememberDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void PressEscape() {
  INPUT keys[2] = {};
  keys[0].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_ESCAPE;
  keys[1] = keys[0];
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// The test's thread waits in the picker for as long as it is open: a picker that never comes
// where it is looked for, or never goes, ends the test process at once, failed, instead of at
// ctest's timeout.
[[noreturn]] void FailNow(const char* what) {
  std::fprintf(stderr, "Failure: %s\n", what);
  std::fflush(stderr);
  std::_Exit(1);
}

using Clock = std::chrono::steady_clock;

// Waits a bounded time for `done`; true when it came.
template <typename Condition>
bool WaitFor(std::chrono::seconds bound, Condition done) {
  for (const auto deadline = Clock::now() + bound; !done();
       std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
    if (Clock::now() > deadline) return false;
  }
  return true;
}

// Waits for the picker on the test's thread, notes the program's state, then presses Escape
// like a user; a picker that ignores Escape is cancelled.
PickerObservation CancelPicker(DWORD threadId, HWND programWindow,
                               const std::atomic<bool>& returned) {
  PickerObservation seen;
  if (!WaitFor(std::chrono::seconds(20),
               [&] { return returned || (seen.picker = FindDialogOf(threadId)) != nullptr; })) {
    FailNow("no picker appeared within 20 s");
  }
  if (seen.picker == nullptr) return seen;
  seen.owner = GetWindow(seen.picker, GW_OWNER);
  seen.titleShown = FindWindowExA(seen.picker, nullptr, "Static", "Select a Folder") != nullptr;
  seen.resizable = (GetWindowLongA(seen.picker, GWL_STYLE) & WS_THICKFRAME) != 0;
  seen.hasEditBox = FindWindowExA(seen.picker, nullptr, "Edit", nullptr) != nullptr;
  RECT frame{};
  GetWindowRect(seen.picker, &frame);
  seen.centre = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
  seen.programWindowEnabled = IsWindowEnabled(programWindow);
  seen.errorMode = GetErrorMode();

  PressEscape();
  const auto closed = [&] { return !IsWindow(seen.picker) || returned; };
  seen.closedByEscape = WaitFor(std::chrono::seconds(10), closed);
  if (!seen.closedByEscape) PostMessageA(seen.picker, WM_COMMAND, IDCANCEL, 0);
  if (!WaitFor(std::chrono::seconds(10), closed)) FailNow("the picker stayed open after Cancel");
  return seen;
}

HWND MakeTopLevelWindow(const char* caption, DWORD style, RECT frame = {10, 10, 210, 110}) {
  return CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPEDWINDOW | style, frame.left, frame.top,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                         nullptr, nullptr);
}

TEST(FolderPicker, CancelReturnsFalseAndGivesTheProgramItsWindowsBack) {
  const HWND applicationWindow = MakeTopLevelWindow("Trelik", 0);  // hidden, as on the taskbar
  const HWND mainWindow = MakeTopLevelWindow(" Trelik", WS_VISIBLE);
  const HWND disabledWindow = MakeTopLevelWindow("disabled", WS_VISIBLE | WS_DISABLED);
  // The window the user asks from: the picker is centred on it.
  const HWND editor = MakeTopLevelWindow("Trelik Editor", WS_VISIBLE, {300, 250, 760, 500});
  ASSERT_NE(applicationWindow, nullptr) << "no display";
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_NE(disabledWindow, nullptr);
  ASSERT_NE(editor, nullptr);
  SetForegroundWindow(editor);
  for (int tries = 0; tries < 100 && GetActiveWindow() != editor; ++tries) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  ASSERT_EQ(GetActiveWindow(), editor);
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  Win32ShellOperations shell;
  shell.SetApplicationWindow(applicationWindow);

  std::atomic<bool> returned{false};
  PickerObservation seen;
  std::thread user([&, threadId = GetCurrentThreadId()] {
    seen = CancelPicker(threadId, mainWindow, returned);
  });
  std::string folder;
  const bool picked = shell.BrowseForFolder("Select a Folder", folder);
  returned = true;
  user.join();

  ASSERT_NE(seen.picker, nullptr) << "the picker never appeared";
  EXPECT_EQ(seen.owner, applicationWindow);
  EXPECT_TRUE(seen.titleShown);
  EXPECT_TRUE(seen.resizable);
  EXPECT_TRUE(seen.hasEditBox);
  EXPECT_NEAR(seen.centre.x, 530, 2);
  EXPECT_NEAR(seen.centre.y, 375, 2);
  EXPECT_FALSE(seen.programWindowEnabled);
  EXPECT_EQ(seen.errorMode, static_cast<UINT>(SEM_FAILCRITICALERRORS));
  EXPECT_TRUE(seen.closedByEscape);

  EXPECT_FALSE(picked);
  EXPECT_EQ(folder, "");
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  EXPECT_FALSE(IsWindowEnabled(disabledWindow));
  EXPECT_TRUE(IsWindowEnabled(applicationWindow));
  EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  // The user goes on typing where the picker was asked from.
  EXPECT_EQ(GetActiveWindow(), editor);
  EXPECT_EQ(GetFocus(), editor);

  DestroyWindow(editor);
  DestroyWindow(disabledWindow);
  DestroyWindow(mainWindow);
  DestroyWindow(applicationWindow);
}

}  // namespace
}  // namespace trelik
