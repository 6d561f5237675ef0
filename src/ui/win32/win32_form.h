#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "shell/win32/modal_scope.h"
#include "ui/layout_plan.h"
#include "ui/widgets.h"
#include "ui/win32/win32_controls.h"

namespace trelik {

class Win32Application;

// A top-level window of the program with its controls: a dialog of a private class, made from an
// in-memory template, so that Windows' dialog manager moves the focus (Tab, arrows), keeps it
// while the window is inactive, and presses the default button on Enter. The controls are plain
// child windows, made when the window is first shown or a control is first used, and laid out
// by the layout plan at the window's own DPI when it is first shown, again whenever that
// changes.
class Win32Form final : public Form {
 public:
  Win32Form(Win32Application& application, const FormArgs& args);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  void Show() override;
  void ShowModal() override;
  void Close() override;
  bool Visible() const override;
  NativeWindow Handle() const override { return window_; }

  HWND Window() const { return window_; }
  // The window of the control declared under `name`, or null; for tests.
  HWND ChildWindow(const std::string& name);
  int Dpi() const { return dpi_; }

  // For the controls.
  void MakeControls();
  void FocusChild(HWND child);
  void FocusFirstIn(const GroupBox* group);

  // The window procedure's work; `window` is this form's window.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // The native side of a declared control, at the same index.
  struct Child {
    NativeChild* control = nullptr;  // the control the program holds
    HWND window = nullptr;
    HWND nameLabel = nullptr;            // the hidden label screen readers name it by
    HWND description = nullptr;          // the label that describes it, just after it
    std::function<void(WORD)> onNotify;  // the notification codes of WM_COMMAND
    HICON icon = nullptr;                // a picture's icon at the current size
    int iconSize = 0;                    // the width and height it was loaded at
  };

  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

  static Font MakeFont(int dpi, bool bold);

  // Native creation and event wiring, by kind of control (win32_controls.cpp).
  std::unique_ptr<Control> Create(const DeclaredControl& declared) override;
  void MakeNative(std::size_t index);
  HWND AddChild(std::size_t index, const char* className, DWORD style, DWORD exStyle, int id);
  void AddTooltip(HWND control, const std::string& text);
  void AddNameLabel(Child& child, const std::string& name);

  HFONT FontOf(std::size_t index) const;
  int ScaleDpi(int designPixels) const;
  TextExtent TextNeeds(HDC dc, std::size_t index) const;
  LayoutPlan Plan() const;
  void LayoutAll();
  int WindowHeight(std::size_t index, const Bounds& bounds) const;
  void Layout(std::size_t index, const Bounds& bounds);
  void Dress(std::size_t index, const Bounds& bounds);
  void ApplyDpi(int dpi);
  void PrepareFirstShowing();
  void Hide();
  void HandleClose();
  std::size_t ChildIndex(HWND window) const;  // kNoGroup when no control has it

  Win32Application& application_;
  FormArgs args_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  int dpi_;
  LayoutPlan plan_;  // the latest layout, made with the controls and at each DPI change
  Font font_;
  Font boldFont_;
  std::vector<Child> children_;
  std::vector<HWND> madeOrder_;        // the child windows in the order they were made
  std::set<std::size_t> groupStarts_;  // the controls that start a group for the arrow keys
  int nextId_ = 100;
  HWND pendingFocus_ = nullptr;   // the control asked for the focus while the window was hidden
  bool focusComingBack_ = false;  // the dialog manager is giving the focus back to a control
  bool controlsMade_ = false;     // the controls' child windows exist
  bool placed_ = false;           // shown once: laid out, its tab order set and centred
  bool closing_ = false;          // the main window's close ran; the program is ending
  HWND returnTo_ = nullptr;       // the window to activate again when this one is hidden
  std::optional<ModalScope> modality_;  // while shown modally
};

}  // namespace trelik
