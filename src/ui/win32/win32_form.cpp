#include "ui/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/error.h"
#include "common/system_error.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_link.h"
#include "ui/win32/win32_widgets.h"
#include "ui/win32/window_binding.h"

namespace trelik {
namespace {

constexpr char kFormClass[] = "TrelikForm";
constexpr int kItemHeight = 13;  // a drop-down list's entries
constexpr int kProgramIcon = 1;
constexpr UINT_PTR kShownTimer = 1;

// The messages before the form binds itself, and whatever the form leaves, get the dialog
// manager's handling.
LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (form == nullptr) return DefDlgProcA(window, message, wParam, lParam);
  // No exception may cross into the system; the handlers' own errors are shown by Dispatch.
  try {
    return form->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    return DefDlgProcA(window, message, wParam, lParam);
  }
}

HICON LoadProgramIcon(int size, UINT flags) {
  return static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(kProgramIcon), IMAGE_ICON, size, size, flags));
}

// Registering again when the class exists already is harmless; a real failure shows up as the
// window that cannot be created. The class has no icon: a dialog-bordered window shows none.
void RegisterFormClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = FormProcedure;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kFormClass;
  RegisterClassExA(&windowClass);
}

DWORD FormStyle() { return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; }

DWORD FormExStyle(const FormArgs& args) {
  DWORD exStyle = args.border == FormBorder::kToolWindow ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME;
  // The forms belong to the hidden application window, which has no taskbar button of its
  // own; the main window takes one.
  if (args.isMainForm) exStyle |= WS_EX_APPWINDOW;
  return exStyle;
}

// A dialog of our class without controls, caption or size: the form sets its caption in the
// program's code page, and its size and controls in pixels.
std::vector<WORD> FormTemplate(const FormArgs& args) {
  const DLGTEMPLATE header{.style = FormStyle(), .dwExtendedStyle = FormExStyle(args)};
  std::vector<WORD> words(sizeof header / sizeof(WORD));
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  for (const char* letter = kFormClass; *letter != '\0'; ++letter) words.push_back(*letter);
  words.push_back(0);  // the end of the class name
  words.push_back(0);  // no caption
  return words;
}

// A per-monitor aware dialog would otherwise be resized by the dialog manager too when its DPI
// changes; the form lays itself out. Windows 10 1703 and later; Wine has no such call.
void KeepDialogManagerFromScaling(HWND window) {
  using SetBehaviour =
      BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
  const auto set = reinterpret_cast<SetBehaviour>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SetDialogDpiChangeBehavior")));
  if (set != nullptr) set(window, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

int FaceColour(const FormArgs& args) {
  return args.colour == FormColour::kMenu ? COLOR_MENU : COLOR_BTNFACE;
}

// The outer size of a form's window whose client area has the given size.
SIZE FrameSize(const FormArgs& args, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, FormStyle(), FALSE, FormExStyle(args));
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void SetClientSize(HWND window, const FormArgs& args, int width, int height) {
  const SIZE frame = FrameSize(args, width, height);
  SetWindowPos(window, nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Win32Form::Win32Form(Win32Application& application, const FormArgs& args)
    : application_(application), args_(args), dpi_(application.ScreenDpi()) {
  RegisterFormClass();
  font_ = MakeFont(dpi_, false);
  boldFont_ = MakeFont(dpi_, true);
  const std::vector<WORD> dialog = FormTemplate(args);
  window_ = CreateDialogIndirectA(Instance(), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                  static_cast<HWND>(application.ApplicationWindow()), nullptr);
  if (window_ == nullptr) {
    throw Error("Cannot create the window \"" + args.caption + "\": " + LastSystemErrorText());
  }
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // Enter sends IDOK, the default button's ID; in a form without one it reaches no control.
  SendMessageA(window_, DM_SETDEFID, IDOK, 0);
  KeepDialogManagerFromScaling(window_);
  SetWindowTextA(window_, args.caption.c_str());
  SetClientSize(window_, args_, ScaleDpi(args.clientWidth), ScaleDpi(args.clientHeight));
  if (args.isMainForm) {
    // The program's icon on its taskbar button and in the task switcher.
    SendMessageA(window_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadProgramIcon(GetSystemMetrics(SM_CXICON), LR_SHARED)));
    SendMessageA(
        window_, WM_SETICON, ICON_SMALL,
        reinterpret_cast<LPARAM>(LoadProgramIcon(GetSystemMetrics(SM_CXSMICON), LR_SHARED)));
  }
  application_.Register(*this);
}

Win32Form::~Win32Form() {
  application_.Unregister(*this);
  modality_.reset();
  DestroyWindow(window_);
  for (const auto& child : children_) {
    if (child.icon != nullptr) DestroyIcon(child.icon);
  }
}

Win32Form::Font Win32Form::MakeFont(int dpi, bool bold) {
  return Font(CreateFontA(-MulDiv(kDesignFontHeight, dpi, kDesignDpi), 0, 0, 0,
                          bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

HFONT Win32Form::FontOf(std::size_t index) const {
  return Controls()[index].bold ? boldFont_.get() : font_.get();
}

int Win32Form::ScaleDpi(int designPixels) const { return MulDiv(designPixels, dpi_, kDesignDpi); }

// The room a control's caption needs in its own font at the current DPI, measured in `dc`; a
// caption that cannot be measured asks for none.
TextExtent Win32Form::TextNeeds(HDC dc, std::size_t index) const {
  if (dc == nullptr) return {};
  const PlannedControl& planned = Controls()[index].planned;
  const HGDIOBJ previous = SelectObject(dc, FontOf(index));
  SIZE size{};
  const BOOL measured = GetTextExtentPoint32A(dc, planned.caption.c_str(),
                                              static_cast<int>(planned.caption.size()), &size);
  SelectObject(dc, previous);
  if (!measured) return {};
  size.cx += ScaleDpi(CaptionMargin(planned.kind));
  if (planned.kind == ControlKind::kCheckBox) {
    // The system reports the box at the screen's DPI.
    const int box = MulDiv(GetSystemMetrics(SM_CXMENUCHECK), dpi_, application_.ScreenDpi());
    size.cx += box;
    size.cy = std::max<LONG>(size.cy, box);
  }
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

// The layout at the current DPI, its captions measured in one device context of the form's.
LayoutPlan Win32Form::Plan() const {
  const HDC dc = GetDC(window_);
  LayoutPlan plan = PlanLayout(Planned(), args_.clientWidth, args_.clientHeight, dpi_,
                               [this, dc](std::size_t index) { return TextNeeds(dc, index); });
  if (dc != nullptr) ReleaseDC(window_, dc);
  return plan;
}

// Every control, and the client area with them, so that the window always holds its texts.
void Win32Form::LayoutAll() {
  plan_ = Plan();
  for (std::size_t i = 0; i < children_.size(); ++i) Layout(i, plan_.bounds[i]);
  SetClientSize(window_, args_, plan_.clientWidth, plan_.clientHeight);
}

// A combo box's window takes the room of its opened list too, where the common controls do not
// take the number of rows.
int Win32Form::WindowHeight(std::size_t index, const Bounds& bounds) const {
  if (Controls()[index].planned.kind != ControlKind::kComboBox) return bounds.height;
  return bounds.height + (ComboBox::kDroppedRows + 1) * plan_.ScaleY(kItemHeight);
}

void Win32Form::Layout(std::size_t index, const Bounds& bounds) {
  Dress(index, bounds);
  SetWindowPos(children_[index].window, nullptr, bounds.left, bounds.top, bounds.width,
               WindowHeight(index, bounds), SWP_NOZORDER | SWP_NOACTIVATE);
}

// What a control's window takes from the layout besides its place: the font, a combo box's rows
// and a picture's icon at its size.
void Win32Form::Dress(std::size_t index, const Bounds& bounds) {
  Child& child = children_[index];
  const ControlKind kind = Controls()[index].planned.kind;
  SendMessageA(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(index)), FALSE);
  if (kind == ControlKind::kComboBox) {
    SendMessageA(child.window, CB_SETMINVISIBLE, ComboBox::kDroppedRows, 0);
    SendMessageA(child.window, CB_SETITEMHEIGHT, 0, plan_.ScaleY(kItemHeight));
  }
  if (kind == ControlKind::kPicture && child.iconSize != bounds.width) {
    const HICON icon = LoadProgramIcon(bounds.width, LR_DEFAULTCOLOR);
    SendMessageA(child.window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (child.icon != nullptr) DestroyIcon(child.icon);
    child.icon = icon;
    child.iconSize = bounds.width;
  }
}

void Win32Form::ApplyDpi(int dpi) {
  dpi_ = dpi;
  // The old fonts stay alive until every control has the new ones.
  const Font oldFont = std::exchange(font_, MakeFont(dpi_, false));
  const Font oldBoldFont = std::exchange(boldFont_, MakeFont(dpi_, true));
  if (!controlsMade_) return;  // they are made with the fonts of the DPI then
  LayoutAll();
  InvalidateRect(window_, nullptr, TRUE);
}

// The form was laid out as its controls were made, so that a window never shown costs no layout.
// The dialog manager walks the controls in their z-order, and the arrow keys stay between one
// WS_GROUP control and the next: both follow the layout plan's keyboard order. The window is
// centred on the desktop's work area.
void Win32Form::PrepareFirstShowing() {
  if (placed_) return;
  placed_ = true;
  MakeControls();
  // The controls were made in their places; one added since moves the others. The window takes
  // its size as it is centred.
  if (plan_.bounds.size() != children_.size()) LayoutAll();
  // A child window is made at the bottom of the z-order; the order they were made in is kept in
  // step with each move, so that a window already in its place is not moved: under Wine each
  // move is a call to its server.
  std::vector<HWND> order = madeOrder_;
  std::size_t placed = 0;
  const auto place = [&order, &placed](HWND window) {
    const auto at = std::ranges::find(order, window);
    if (at != order.begin() + static_cast<std::ptrdiff_t>(placed)) {
      SetWindowPos(window, placed == 0 ? HWND_TOP : order[placed - 1], 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      if (at != order.end()) order.erase(at);
      order.insert(order.begin() + static_cast<std::ptrdiff_t>(placed), window);
    }
    ++placed;
  };
  for (const KeyboardStop& stop : KeyboardOrder(Planned())) {
    const Child& child = children_[stop.index];
    if (Controls()[stop.index].describes != kNoGroup) continue;  // placed with what it describes
    const LONG style = GetWindowLongA(child.window, GWL_STYLE);
    if (stop.startsGroup && (style & WS_GROUP) == 0) {
      SetWindowLongA(child.window, GWL_STYLE, style | WS_GROUP);
    }
    if (child.nameLabel != nullptr) place(child.nameLabel);
    place(child.window);
    if (child.description != nullptr) place(child.description);
  }

  const SIZE frame = FrameSize(args_, plan_.clientWidth, plan_.clientHeight);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  SetWindowPos(window_, nullptr, area.left + (area.right - area.left - frame.cx) / 2,
               area.top + (area.bottom - area.top - frame.cy) / 2, frame.cx, frame.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32Form::Visible() const { return IsWindowVisible(window_) != FALSE; }

void Win32Form::Show() {
  if (Visible()) {
    SetForegroundWindow(window_);
    return;
  }
  const HWND active = GetActiveWindow();
  returnTo_ = application_.FindForm(active) != nullptr && active != window_ ? active : nullptr;
  PrepareFirstShowing();
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  if (pendingFocus_ != nullptr) ::SetFocus(std::exchange(pendingFocus_, nullptr));
  application_.Dispatch(onShow);
  // The window and its controls are drawn now; a timer's message comes only once no other
  // message waits, so the drawing has reached the screen (under Wine too) before onShown runs.
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  SetTimer(window_, kShownTimer, USER_TIMER_MINIMUM, nullptr);
}

void Win32Form::ShowModal() {
  const HWND active = GetActiveWindow();
  modality_.emplace(window_);
  Show();
  if (application_.FindForm(active) != nullptr && active != window_) returnTo_ = active;
  MSG message;
  while (Visible()) {
    const BOOL result = GetMessageA(&message, nullptr, 0, 0);
    if (result == 0) {
      // The program is ending: the main loop must see the quit message too.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (result == -1) break;
    application_.ProcessMessage(message);
  }
  modality_.reset();
}

// The windows a modal showing disabled come back first, and the activation is handed back
// before hiding: otherwise Windows would activate whatever window lies below, maybe another
// program's.
void Win32Form::Hide() {
  modality_.reset();
  if (!Visible()) return;
  if (GetActiveWindow() == window_ && returnTo_ != nullptr && IsWindow(returnTo_) &&
      IsWindowVisible(returnTo_) && IsWindowEnabled(returnTo_)) {
    SetActiveWindow(returnTo_);
  }
  ShowWindow(window_, SW_HIDE);
}

void Win32Form::Close() { HandleClose(); }

void Win32Form::HandleClose() {
  if (!args_.isMainForm) {
    if (application_.MayClose(*this) && application_.Dispatch(onClose)) Hide();
    return;
  }
  // Closing the main window ends the program; a second close request (a close message queued
  // meanwhile) must not run the close handler again.
  if (closing_ || !application_.MayClose(*this)) return;
  closing_ = true;
  application_.Dispatch(onClose);
  PostQuitMessage(0);
}

HWND Win32Form::ChildWindow(const std::string& name) {
  MakeControls();
  const auto& controls = Controls();
  const auto found = std::ranges::find(controls, name, &DeclaredControl::name);
  return found == controls.end() ? nullptr : children_[found - controls.begin()].window;
}

std::size_t Win32Form::ChildIndex(HWND window) const {
  if (window == nullptr) return kNoGroup;  // no control's, made or not
  const auto found = std::ranges::find(children_, window, &Child::window);
  return found == children_.end() ? kNoGroup : static_cast<std::size_t>(found - children_.begin());
}

// A hidden window's control cannot take the focus without activating the hidden window.
void Win32Form::FocusChild(HWND child) {
  if (Visible()) {
    ::SetFocus(child);
  } else {
    pendingFocus_ = child;
  }
}

void Win32Form::FocusFirstIn(const GroupBox* group) {
  MakeControls();
  const std::size_t index = IndexOf(group);
  for (const std::size_t stop : TabChain(Planned())) {
    if (Controls()[stop].planned.group != index) continue;
    FocusChild(children_[stop].window);
    return;
  }
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // Escape arrives as IDCANCEL, which no control has: no button of ours cancels, and only
      // the windows made to close by it close, as their close box closes them.
      if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
        if (onEscape) {
          application_.Dispatch(onEscape);
        } else if (args_.escapeCloses) {
          HandleClose();
        }
        return 0;
      }
      const HWND source =
          lParam != 0 ? reinterpret_cast<HWND>(lParam) : GetDlgItem(window_, LOWORD(wParam));
      if (const std::size_t index = ChildIndex(source);
          index != kNoGroup && children_[index].onNotify) {
        const auto notify = children_[index].onNotify;
        notify(HIWORD(wParam));
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (const std::size_t index = ChildIndex(item->hwndItem); index != kNoGroup) {
        DrawLink(*item, WindowText(item->hwndItem), FontOf(index), FaceColour(args_));
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(FaceColour(args_)));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(FaceColour(args_)));
      if (const std::size_t index = ChildIndex(reinterpret_cast<HWND>(lParam));
          index != kNoGroup && Controls()[index].planned.link) {
        SetTextColor(dc, LinkColour(GetSysColor(FaceColour(args_))));
      }
      return reinterpret_cast<LRESULT>(GetSysColorBrush(FaceColour(args_)));
    }
    case WM_SETCURSOR:
      if (const std::size_t index = ChildIndex(reinterpret_cast<HWND>(wParam));
          index != kNoGroup && Controls()[index].planned.link && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
    case WM_SETFOCUS: {
      // The dialog manager keeps the focused control while the window is inactive or hidden,
      // and gives it the focus back here.
      focusComingBack_ = true;
      const LRESULT result = DefDlgProcA(window, message, wParam, lParam);
      focusComingBack_ = false;
      return result;
    }
    case WM_CLOSE:
      HandleClose();
      return 0;
    case WM_HELP:  // F1, wherever the focus is in the window
      application_.Dispatch(onHelp);
      return TRUE;
    case WM_DPICHANGED: {
      // The size follows the texts at the new DPI; the system's suggestion gives the place.
      ApplyDpi(HIWORD(wParam));
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_ENDSESSION:
      if (wParam != FALSE) application_.EndSession();
      return 0;
    case WM_TIMER:
      if (wParam != kShownTimer) break;
      KillTimer(window_, kShownTimer);
      application_.Dispatch(onShown);
      return 0;
    default:
      break;
  }
  return DefDlgProcA(window, message, wParam, lParam);
}

}  // namespace trelik
