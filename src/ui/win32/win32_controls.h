#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/widgets.h"

namespace trelik {

class Win32Form;

// A control of a form: its child window, and the form that moves the focus to it.
template <typename Interface>
class ChildControl : public Interface {
 public:
  ChildControl(Win32Form& form, HWND window) : form_(form), window_(window) {}

  void SetFocus() override;
  HWND Window() const { return window_; }

 protected:
  Win32Form& form_;
  HWND window_;
};

class Win32Label final : public ChildControl<Label> {
 public:
  Win32Label(Win32Form& form, HWND window, HWND described)
      : ChildControl(form, window), described_(described) {}
  std::string Text() const override;
  void SetText(const std::string& text) override;

 private:
  HWND described_;  // the control it describes, or null
};

using Win32Button = ChildControl<PushButton>;
using Win32Picture = ChildControl<Control>;

class Win32CheckBox final : public ChildControl<CheckBox> {
 public:
  using ChildControl::ChildControl;
  bool Checked() const override;
  void SetChecked(bool checked) override;
};

class Win32Edit final : public ChildControl<Edit> {
 public:
  using ChildControl::ChildControl;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  void SetCueText(const std::string& text) override;
};

class Win32ComboBox final : public ChildControl<ComboBox> {
 public:
  // Takes over the typed letters: Windows' own list looks at the last letter alone.
  Win32ComboBox(Win32Form& form, HWND window);
  int SelectedIndex() const override;
  void SetSelectedIndex(int index) override;
  // As the list opens: as wide as its longest entry, within the screen.
  void FitDroppedWidth();

 private:
  static LRESULT CALLBACK TypeAheadProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR self);
  // Moves to the entry that starts with the letters typed so far, as the user's choice.
  void TypeLetter(char letter);

  // The control shows each entry as the code page decodes it (invalid sequences as replacement
  // characters).
  bool AddNative(const std::string& item) override;
  void RemoveNative(int index) override;
  void ClearNative() override;

  std::string typed_;  // since the last pause
  ULONGLONG lastLetter_ = 0;
};

// Focusing a group box focuses the first control in it.
class Win32GroupBox final : public ChildControl<GroupBox> {
 public:
  using ChildControl::ChildControl;
  void SetFocus() override;
};

// The text of a window, in the process code page.
std::string WindowText(HWND window);

}  // namespace trelik
