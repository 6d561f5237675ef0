#include "shell/win32/modal_scope.h"

namespace trelik {
namespace {

BOOL CALLBACK DisableIfUsable(HWND window, LPARAM disabled) {
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  try {
    reinterpret_cast<std::vector<HWND>*>(disabled)->push_back(window);
  } catch (...) {
    return FALSE;  // a window that cannot be remembered is left enabled
  }
  EnableWindow(window, FALSE);
  return TRUE;
}

}  // namespace

ModalScope::ModalScope() : returnTo_(GetActiveWindow()) {
  EnumThreadWindows(GetCurrentThreadId(), &DisableIfUsable, reinterpret_cast<LPARAM>(&disabled_));
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
