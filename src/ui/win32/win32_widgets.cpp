#include "ui/win32/win32_widgets.h"

#include <commctrl.h>

#include <algorithm>

#include "common/error.h"
#include "common/system_error.h"
#include "shell/win32/modal_scope.h"
#include "ui/layout_plan.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/window_binding.h"

namespace trelik {
namespace {

constexpr char kApplicationClass[] = "TrelikApplication";

// Hidden windows get the session messages too, so the program hears of the session's end even
// while none of its forms can.
LRESULT CALLBACK ApplicationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* application = BoundObject<Win32Application>(window, message, lParam);
  if (application != nullptr && message == WM_ENDSESSION && wParam != FALSE) {
    application->EndSession();
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Returns the button pressed. Owned, the box is centred on its owner; without one, on the
// screen. Either way every window of the program is kept from input until it is dismissed.
int ShowBox(HWND owner, const std::string& text, UINT buttonsAndIcon) {
  const ModalScope modal;
  return MessageBoxA(owner, text.c_str(), Application::kTitle, buttonsAndIcon | MB_SETFOREGROUND);
}

}  // namespace

int ReadScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

Win32Application::Win32Application() : dpi_(ReadScreenDpi()) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);

  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ApplicationProcedure;
  windowClass.hInstance = Instance();
  windowClass.lpszClassName = kApplicationClass;
  RegisterClassExA(&windowClass);  // a failure shows up as the window that cannot be created
  window_ = CreateWindowExA(0, kApplicationClass, kTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
                            0, 0, nullptr, nullptr, Instance(), this);
  if (window_ == nullptr) {
    throw Error("Cannot create the program's window: " + LastSystemErrorText());
  }
}

Win32Application::~Win32Application() { DestroyWindow(window_); }

std::unique_ptr<Form> Win32Application::CreateForm(const FormArgs& args) {
  return std::make_unique<Win32Form>(*this, args);
}

void Win32Application::ShowMessage(const Form* owner, const std::string& text) {
  ShowBox(BoxOwner(owner), text, MB_OK);
}

bool Win32Application::AskQuestion(const Form* owner, const std::string& text) {
  return ShowBox(BoxOwner(owner), text, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

Answer Win32Application::AskYesNoCancel(const Form* owner, const std::string& text) {
  switch (ShowBox(BoxOwner(owner), text, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      return Answer::kYes;
    case IDNO:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

void Win32Application::ShowError(const std::string& message) {
  ShowBox(BoxOwner(nullptr), FormatErrorBoxText(message), MB_OK | MB_ICONSTOP);
}

// The given form while it is shown, else the program's active form.
HWND Win32Application::BoxOwner(const Form* owner) const {
  if (owner != nullptr && owner->Visible()) return static_cast<HWND>(owner->Handle());
  const HWND active = GetActiveWindow();
  return FindForm(active) != nullptr ? active : nullptr;
}

void Win32Application::Run(Form& mainForm) {
  mainForm.Show();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) ProcessMessage(message);
}

// The dialog keys (Tab, Enter, arrows, access keys) work in every form, as in a dialog box.
// Alt+F4 closes the form wherever the focus is: Wine's drop-down lists take it for F4 and open.
void Win32Application::ProcessMessage(MSG& message) {
  const HWND active = GetActiveWindow();
  const bool inForm = active != nullptr && FindForm(active) != nullptr;
  if (inForm && message.message == WM_SYSKEYDOWN && message.wParam == VK_F4) {
    SendMessageA(active, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  if (inForm && IsDialogMessageA(active, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void Win32Application::Register(Win32Form& form) { forms_.push_back(&form); }

void Win32Application::Unregister(Win32Form& form) { std::erase(forms_, &form); }

Win32Form* Win32Application::FindForm(HWND window) const {
  const auto form = std::ranges::find(forms_, window, &Win32Form::Window);
  return form == forms_.end() ? nullptr : *form;
}

// Windows may end the process any time after the session messages are answered, so the
// program ends here and now, the last created window first, as at a normal end but without
// any close handler.
void Win32Application::EndSession() {
  for (auto form = forms_.rbegin(); form != forms_.rend(); ++form) {
    DestroyWindow((*form)->Window());
  }
  DestroyWindow(window_);
  if (onSessionEnd) onSessionEnd();
  ExitProcess(0);
}

}  // namespace trelik
