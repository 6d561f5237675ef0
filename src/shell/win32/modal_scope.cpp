#include "shell/win32/modal_scope.h"

namespace trelik {

BOOL CALLBACK ModalScope::DisableIfUsable(HWND window, LPARAM scope) {
  auto& self = *reinterpret_cast<ModalScope*>(scope);
  if (window == self.keep_ || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  try {
    self.disabled_.push_back(window);
  } catch (...) {
    return FALSE;  // a window that cannot be remembered is left enabled
  }
  EnableWindow(window, FALSE);
  return TRUE;
}

ModalScope::ModalScope(HWND keep) : keep_(keep), returnTo_(GetActiveWindow()) {
  EnumThreadWindows(GetCurrentThreadId(), &DisableIfUsable, reinterpret_cast<LPARAM>(this));
}

ModalScope::~ModalScope() {
  for (HWND window : disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  const HWND active = GetActiveWindow();
  if ((active == nullptr || !IsWindowVisible(active)) && returnTo_ != nullptr &&
      IsWindow(returnTo_) && IsWindowVisible(returnTo_) && IsWindowEnabled(returnTo_)) {
    SetActiveWindow(returnTo_);
  }
}

}  // namespace trelik
