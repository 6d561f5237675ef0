#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "shell/win32/modal_scope.h"
#include "ui/progress_window_args.h"

namespace trelik {

// A progress window for work that takes more than a moment, owned by the window the work is for;
// quick work shows none. While it shows, it keeps the program's windows drawn and takes their
// input, and every other window of the program is kept from input.
class ProgressWindow {
 public:
  ProgressWindow(ProgressWindowArgs args, HWND owner);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Told `done` of `total`; (total, total) ends the work and closes the window. False once the
  // user pressed Cancel (or Escape, or the close box).
  bool Update(std::uint64_t done, std::uint64_t total);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Open();
  void Close();
  void Pump();

  ProgressWindowArgs args_;
  HWND owner_;
  ULONGLONG start_;
  ULONGLONG lastPump_ = 0;
  HWND window_ = nullptr;
  HWND bar_ = nullptr;
  HFONT font_ = nullptr;
  std::unique_ptr<ModalScope> modal_;
  bool cancelled_ = false;
};

}  // namespace trelik
