#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/widgets.h"

namespace trelik {

class Win32Form;

// The screen's pixels per inch, as the system scales text; the design's 96 when it cannot tell.
int ReadScreenDpi();

// The Win32 backend: plain CreateWindowEx controls in the program's own windows, laid out at
// the screen's DPI. Needs a window station with a display; the constructor throws Error when
// the program's window cannot be made.
class Win32Application final : public Application {
 public:
  Win32Application();
  ~Win32Application() override;
  Win32Application(const Win32Application&) = delete;
  Win32Application& operator=(const Win32Application&) = delete;

  std::unique_ptr<Form> CreateForm(const FormArgs& args) override;
  using Application::AskQuestion;
  using Application::ShowMessage;
  void ShowMessage(const Form* owner, const std::string& text) override;
  bool AskQuestion(const Form* owner, const std::string& text) override;
  Answer AskYesNoCancel(const Form* owner, const std::string& text) override;
  void ShowError(const std::string& message) override;
  void Run(Form& mainForm) override;

  // The hidden top-level window that stands for the program, titled "Trelik": it owns the
  // forms and is the owner to give the shell's folder picker.
  NativeWindow ApplicationWindow() const { return window_; }

  // The screen's pixels per inch when the application started.
  int ScreenDpi() const { return dpi_; }

  // Runs when Windows ends the session, after the windows are gone and just before the process
  // exits with code 0: whatever must still reach the disk.
  std::function<void()> onSessionEnd;

  // For the forms: the message loop's work on one message, and the forms' bookkeeping.
  void ProcessMessage(MSG& message);
  void Register(Win32Form& form);
  void Unregister(Win32Form& form);
  Win32Form* FindForm(HWND window) const;
  // Windows is ending the session: the program ends now, without any close handler.
  [[noreturn]] void EndSession();

 private:
  HWND BoxOwner(const Form* owner) const;

  HWND window_ = nullptr;
  int dpi_ = 96;
  std::vector<Win32Form*> forms_;  // in creation order
};

}  // namespace trelik
