#pragma once

// What the Win32 window tests share: a user's answers to message boxes, and waits on the loop.
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/access_key.h"
#include "ui/widgets.h"
#include "ui/win32/win32_controls.h"

namespace trelik::testing {

inline std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

inline bool IsVisibleIcon(HWND window) {
  return ClassName(window) == "Static" && IsWindowVisible(window) &&
         (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
         SendMessageA(window, STM_GETICON, 0, 0) != 0;
}

// Answers the program's message boxes as a user would, from a timer that their own message loop
// runs, and records what each showed.
class MessageBoxAnswerer {
 public:
  struct Box {
    std::string text;
    bool hasIcon = false;
    POINT centre{};
    HWND owner = nullptr;
  };

  // Presses the buttons of `answers` (IDYES, IDNO, ...) on the boxes in turn, then each box's
  // default button.
  explicit MessageBoxAnswerer(std::vector<int> answers = {}) : answers_(std::move(answers)) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~MessageBoxAnswerer() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  std::vector<Box> boxes;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &Answer, 0);
  }

  static BOOL CALLBACK Answer(HWND window, LPARAM) {
    if (ClassName(window) != "#32770" || WindowText(window) != Application::kTitle ||
        !IsWindowVisible(window) || !instance_->answered_.insert(window).second) {
      return TRUE;
    }
    Box box;
    int button = IDOK;  // the box's default button, else OK
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsVisibleIcon(child)) box.hasIcon = true;
      if (ClassName(child) == "Static" && !WindowText(child).empty()) box.text = WindowText(child);
      if (ClassName(child) == "Button" &&
          (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        button = GetDlgCtrlID(child);
      }
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    box.centre = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    box.owner = GetWindow(window, GW_OWNER);
    const std::size_t index = instance_->boxes.size();
    instance_->boxes.push_back(box);
    // An answer whose button the box lacks presses the default one too.
    if (index < instance_->answers_.size() &&
        GetDlgItem(window, instance_->answers_[index]) != nullptr) {
      button = instance_->answers_[index];
    }
    PostMessageA(window, WM_COMMAND, button, 0);
    return TRUE;
  }

  static inline MessageBoxAnswerer* instance_ = nullptr;
  std::vector<int> answers_;
  UINT_PTR timer_ = 0;
  std::set<HWND> answered_;
};

// Lets the windows process what is queued for them.
inline void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Under Wine activation travels through the X server: waits a bounded moment for it.
inline void WaitUntilActive(HWND window) {
  for (int tries = 0; tries < 100 && GetActiveWindow() != window; ++tries) {
    Pump();
    Sleep(10);
  }
}

// A control's caption as its own font draws it, a button's without the mark of its access key.
inline SIZE MeasuredText(HWND control) {
  const std::string text = ClassName(control) == "Button"
                               ? ParseAccessKey(WindowText(control)).shown
                               : WindowText(control);
  const HDC dc = GetDC(control);
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size;
}

// Runs `step` once, from within whatever message loop runs next (a modal window's own), as
// soon as `ready` holds; a bounded wait.
class WhenReady {
 public:
  WhenReady(std::function<bool()> ready, std::function<void()> step)
      : ready_(std::move(ready)), step_(std::move(step)) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &Tick);
  }
  ~WhenReady() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }
  WhenReady(const WhenReady&) = delete;
  WhenReady& operator=(const WhenReady&) = delete;

  bool done = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (instance_ == nullptr || instance_->done || !instance_->ready_()) return;
    instance_->done = true;
    instance_->step_();
  }

  static inline WhenReady* instance_ = nullptr;
  std::function<bool()> ready_;
  std::function<void()> step_;
  UINT_PTR timer_ = 0;
};

}  // namespace trelik::testing
