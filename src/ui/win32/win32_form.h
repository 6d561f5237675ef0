#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/layout_plan.h"
#include "ui/widgets.h"

namespace trelik {

class Win32Application;

// A top-level window of the program with its controls: a dialog of a private class, made from an
// in-memory template, so that Windows' dialog manager moves the focus (Tab, arrows), keeps it
// while the window is inactive, and presses the default button on Enter. The controls are plain
// child windows. Positions are given at 96 pixels per inch and laid out at the window's own DPI
// when it is first shown, again whenever that changes. The font the layout was drawn for may be
// missing (another face stands in), so the whole layout is also scaled up, one factor across and
// one down, just enough that every caption fits its box, as dialog units scale a dialog with its
// font.
class Win32Form final : public Form {
 public:
  Win32Form(Win32Application& application, const FormArgs& args);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  Label* AddLabel(const std::string& name, const LabelArgs& args) override;
  PushButton* AddButton(const std::string& name, const ButtonArgs& args) override;
  CheckBox* AddCheckBox(const std::string& name, const CheckBoxArgs& args) override;
  Edit* AddEdit(const std::string& name, const EditArgs& args) override;
  ComboBox* AddComboBox(const std::string& name, const ComboBoxArgs& args) override;
  GroupBox* AddGroupBox(const std::string& name, const GroupBoxArgs& args) override;
  Control* AddProgramIcon(const std::string& name, const Bounds& bounds) override;

  void Show() override;
  void ShowModal() override;
  void Close() override;
  bool Visible() const override;
  NativeWindow Handle() const override { return window_; }

  HWND Window() const { return window_; }
  // The window of the control declared under `name`, or null; for tests.
  HWND ChildWindow(const std::string& name) const;
  int Dpi() const { return dpi_; }

  // For the controls.
  void FocusChild(HWND child);
  void FocusFirstIn(const GroupBox* group);

  // The window procedure's work; `window` is this form's window.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Child {
    std::string name;
    HWND window = nullptr;
    PlannedControl planned;  // as declared: kind, caption, bounds, tab order, group box
    bool bold = false;
    HWND nameLabel = nullptr;            // the hidden label screen readers name it by
    const GroupBox* isGroup = nullptr;   // this child as a group box, if it is one
    std::function<void(WORD)> onNotify;  // the notification codes of WM_COMMAND
    HICON icon = nullptr;                // a picture's icon at the current size
    int iconSize = 0;                    // the width and height it was loaded at
  };

  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

  static Font MakeFont(int dpi, bool bold);

  Child& AddChild(Child child, const char* className, const std::string& text, DWORD style,
                  DWORD exStyle, int id);
  std::size_t GroupIndex(const GroupBox* group) const;
  void AddTooltip(HWND control, const std::string& text);
  void AddNameLabel(Child& child, const std::string& name);
  int ScaleDpi(int designPixels) const;
  TextExtent TextNeeds(const Child& child) const;
  std::vector<PlannedControl> Planned() const;
  void LayoutAll();
  void Layout(Child& child, const Bounds& bounds);
  void ApplyDpi(int dpi);
  void PrepareFirstShowing();
  void Hide();
  void HandleClose();
  void ReenableWindows();
  Child* FindChild(HWND window);
  LRESULT ControlColour(HDC dc, HWND control);
  void DrawLink(const Child& link, const DRAWITEMSTRUCT& item);

  Win32Application& application_;
  FormArgs args_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  int dpi_;
  LayoutPlan plan_;  // the latest layout, made at the first showing and at each DPI change
  Font font_;
  Font boldFont_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Child> children_;
  int nextId_ = 100;
  HWND pendingFocus_ = nullptr;   // the control asked for the focus while the window was hidden
  bool focusComingBack_ = false;  // the dialog manager is giving the focus back to a control
  bool placed_ = false;           // shown once: laid out, its tab order set and centred
  bool closing_ = false;          // the main window's close ran; the program is ending
  HWND returnTo_ = nullptr;       // the window to activate again when this one is hidden
  std::vector<HWND> disabledWhileModal_;
};

}  // namespace trelik
