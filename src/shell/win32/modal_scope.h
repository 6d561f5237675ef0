#pragma once

#include <windows.h>

#include <vector>

namespace trelik {

// Lets the user use only the window `keep`, or the one shown next: while it lives, every other
// visible, enabled top-level window of the calling thread is disabled. At its end they are enabled
// again, and when the modal window took the activation with it (it is gone, and no window of the
// thread is active), the window that was active at the start gets it back, and with it the
// keyboard.
class ModalScope {
 public:
  explicit ModalScope(HWND keep = nullptr);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  static BOOL CALLBACK DisableIfUsable(HWND window, LPARAM scope);

  HWND keep_;
  std::vector<HWND> disabled_;
  HWND returnTo_;
};

}  // namespace trelik
