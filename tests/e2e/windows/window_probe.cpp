// Prints the caption of the window in front and the text of the control that has its keyboard
// focus, separated by a tab: the end-to-end tests wait for the window they are about to type
// into, and for what they typed, instead of pausing.
#include <windows.h>

#include <cstdio>

namespace {

// Asked of the window itself: another process's edit box holds its text, not its caption.
void PrintText(HWND window) {
  char text[512] = "";
  DWORD_PTR length = 0;
  if (window != nullptr) {
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &length);
  }
  std::fputs(text, stdout);
}

}  // namespace

int main() {
  const HWND front = GetForegroundWindow();
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  const bool hasFocus =
      front != nullptr && GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &thread);
  PrintText(front);
  std::fputc('\t', stdout);
  PrintText(hasFocus ? thread.hwndFocus : nullptr);
  std::fputc('\n', stdout);
  return front != nullptr ? 0 : 1;
}
