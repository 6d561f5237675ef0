#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/widgets.h"

namespace trelik {

class Win32Form;

// The child window of a control, made by its form when the form first needs its controls.
class NativeChild {
 public:
  virtual ~NativeChild() = default;
  virtual void Attach(HWND window) { window_ = window; }

 protected:
  HWND window_ = nullptr;
};

// A control of a form: its child window, and the form that moves the focus to it. Whatever the
// program asks of the control first has the form make its controls.
template <typename Interface>
class ChildControl : public Interface, public NativeChild {
 public:
  explicit ChildControl(Win32Form& form) : form_(form) {}

  void SetFocus() override;
  void SetEnabled(bool enabled) override;
  bool Enabled() const override;
  HWND Window() const;

 protected:
  Win32Form& form_;
};

class Win32Label final : public ChildControl<Label> {
 public:
  using ChildControl::ChildControl;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  // The description goes to the accessibility layer when a screen reader first asks the control
  // for its accessible object: without one, OLE and its DLLs are never loaded for it.
  void Describe(HWND described);

 private:
  static LRESULT CALLBACK AskedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self);
  void Annotate();

  HWND described_ = nullptr;  // the control it describes, or null
  bool asked_ = false;        // a screen reader asked the described control for its object
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
  using ChildControl::ChildControl;
  // Takes over the typed letters: Windows' own list looks at the last letter alone.
  void Attach(HWND window) override;
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
