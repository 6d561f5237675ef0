#pragma once

#include <windows.h>

namespace trelik {

inline HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// The object a window was created for: CreateWindowEx's last argument, kept in the window's
// user data from WM_NCCREATE on. Null for the few messages that come before it.
template <typename T>
T* BoundObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace trelik
