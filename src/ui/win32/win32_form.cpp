#include "ui/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "common/error.h"
#include "common/system_error.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_widgets.h"
#include "ui/win32/window_binding.h"

namespace trelik {
namespace {

constexpr char kFormClass[] = "TrelikForm";
constexpr int kDesignDpi = 96;
constexpr int kFontHeight = 11;  // "MS Sans Serif" 8 point at 96 pixels per inch
constexpr int kItemHeight = 13;  // a drop-down list's entries
constexpr int kVisibleItems = 8;
// Room a caption needs beyond its text, at 96 pixels per inch: a push button's frame and focus
// rectangle on both sides, a group box's indent and the gaps around its caption, and the gap
// between a check box's box and its text plus the focus rectangle around the text.
constexpr int kButtonMargin = 12;
constexpr int kGroupCaptionMargin = 16;
constexpr int kCheckBoxTextGap = 6;
constexpr int kProgramIcon = 1;

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

// The relative luminance of a screen colour, as contrast ratios are defined on it.
double Luminance(COLORREF colour) {
  const auto linear = [](BYTE channel) {
    const double value = channel / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
         0.0722 * linear(GetBValue(colour));
}

double ContrastRatio(COLORREF a, COLORREF b) {
  const auto [darker, lighter] = std::minmax(Luminance(a), Luminance(b));
  return (lighter + 0.05) / (darker + 0.05);
}

// The system's link colour, unless a theme makes it hardly readable on the window's face (as
// Wine's default theme does); then the classic link blue.
COLORREF LinkColour(COLORREF face) {
  constexpr double kReadableContrast = 3.0;
  const COLORREF hotLight = GetSysColor(COLOR_HOTLIGHT);
  return ContrastRatio(hotLight, face) >= kReadableContrast ? hotLight : RGB(0, 102, 204);
}

// Enter acts on the focused link as on a focused push button; the dialog manager would press the
// window's default button instead.
LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
  const auto* key = reinterpret_cast<const MSG*>(lParam);
  if (message == WM_GETDLGCODE && key != nullptr && key->message == WM_KEYDOWN &&
      key->wParam == VK_RETURN) {
    return DefSubclassProc(link, message, wParam, lParam) | DLGC_WANTMESSAGE;
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    SendMessageA(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), BN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(link, &LinkProcedure, 0);
  return DefSubclassProc(link, message, wParam, lParam);
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
  RECT frame{0, 0, ScaleDpi(args.clientWidth), ScaleDpi(args.clientHeight)};
  AdjustWindowRectEx(&frame, FormStyle(), FALSE, FormExStyle(args));
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  ReenableWindows();
  DestroyWindow(window_);
  for (const auto& child : children_) {
    if (child.icon != nullptr) DestroyIcon(child.icon);
  }
}

Win32Form::Font Win32Form::MakeFont(int dpi, bool bold) {
  return Font(CreateFontA(-MulDiv(kFontHeight, dpi, kDesignDpi), 0, 0, 0,
                          bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

int Win32Form::ScaleDpi(int designPixels) const { return MulDiv(designPixels, dpi_, kDesignDpi); }

std::size_t Win32Form::GroupIndex(const GroupBox* group) const {
  if (group == nullptr) return kNoGroup;
  const auto box = std::ranges::find(children_, group, &Child::isGroup);
  return box == children_.end() ? kNoGroup : static_cast<std::size_t>(box - children_.begin());
}

// Controls inside a group box are still children of the form, so that their notifications
// reach it; only their positions are relative to the group box.
Win32Form::Child& Win32Form::AddChild(Child child, const char* className, const std::string& text,
                                      DWORD style, DWORD exStyle, int id) {
  child.planned.caption = text;
  child.window = CreateWindowExA(
      exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (child.window == nullptr) {
    throw Error("Cannot create the control " + child.name + ": " + LastSystemErrorText());
  }
  children_.push_back(std::move(child));
  // Before the first showing the form is laid out once, with all its controls; a control
  // added later may change the scale of all the others.
  if (placed_) LayoutAll();
  return children_.back();
}

Label* Win32Form::AddLabel(const std::string& name, const LabelArgs& args) {
  const PlannedControl planned{.kind = ControlKind::kLabel,
                               .bounds = args.bounds,
                               .group = GroupIndex(args.parent),
                               .link = args.link};
  // A link is a button that draws itself as a link: the dialog manager gives it a tab stop and
  // Space, and screen readers announce its caption as a button's.
  Child& child =
      args.link
          ? AddChild({.name = name, .planned = planned, .bold = args.bold}, WC_BUTTONA, args.text,
                     WS_TABSTOP | BS_OWNERDRAW, 0, nextId_++)
          : AddChild({.name = name, .planned = planned, .bold = args.bold}, WC_STATICA, args.text,
                     SS_LEFT | SS_NOPREFIX | (args.tooltip.empty() ? 0 : SS_NOTIFY), 0, nextId_++);
  if (args.link) SetWindowSubclass(child.window, &LinkProcedure, 0, 0);
  auto control = std::make_unique<Win32Label>(*this, child.window);
  Label* label = control.get();
  child.onNotify = [this, label](WORD code) {
    if (code == BN_CLICKED) application_.Dispatch(label->onClick);
  };
  if (!args.tooltip.empty()) AddTooltip(child.window, args.tooltip);
  controls_.push_back(std::move(control));
  return label;
}

void Win32Form::AddTooltip(HWND control, const std::string& text) {
  if (tooltip_ == nullptr) {
    // Always shown, also while the window is inactive.
    tooltip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, Instance(), nullptr);
    if (tooltip_ == nullptr) return;  // a tip is a help to the user, not a function of the window
  }
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<char*>(text.c_str());  // the tooltip keeps its own copy
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Screen readers name a control that shows no caption by the static text just before it in the
// z-order, which may be hidden; the layout places it there.
void Win32Form::AddNameLabel(Child& child, const std::string& name) {
  if (name.empty()) return;
  child.nameLabel = CreateWindowExA(0, WC_STATICA, name.c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX,
                                    0, 0, 0, 0, window_, nullptr, Instance(), nullptr);
}

PushButton* Win32Form::AddButton(const std::string& name, const ButtonArgs& args) {
  // Enter presses the dialog's default button, IDOK unless told otherwise.
  const bool isDefault = args.isDefault && GetDlgItem(window_, IDOK) == nullptr;
  const DWORD style = WS_TABSTOP | BS_NOTIFY | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  Child& child = AddChild({.name = name,
                           .planned = {.kind = ControlKind::kButton,
                                       .bounds = args.bounds,
                                       .tabOrder = args.tabOrder,
                                       .group = GroupIndex(args.parent)}},
                          WC_BUTTONA, args.text, style, 0, isDefault ? IDOK : nextId_++);
  auto control = std::make_unique<Win32Button>(*this, child.window);
  PushButton* button = control.get();
  const auto self = reinterpret_cast<WPARAM>(child.window);
  child.onNotify = [this, button, self](WORD code) {
    if (code == BN_CLICKED) application_.Dispatch(button->onClick);
    // A click, or SetFocus, gives a button the focus without the dialog manager, which Wine's
    // buttons do not tell. Told, it frames the focused button as the one Enter presses, and
    // the default button again once the focus leaves, as it does for Tab.
    if (code == BN_SETFOCUS) SendMessageA(window_, WM_NEXTDLGCTL, self, TRUE);
    if (code == BN_KILLFOCUS) SendMessageA(window_, DM_SETDEFID, IDOK, 0);
  };
  controls_.push_back(std::move(control));
  return button;
}

CheckBox* Win32Form::AddCheckBox(const std::string& name, const CheckBoxArgs& args) {
  Child& child =
      AddChild({.name = name,
                .planned = {.kind = ControlKind::kCheckBox,
                            .bounds = args.bounds,
                            .tabOrder = args.tabOrder,
                            .group = GroupIndex(args.parent)}},
               WC_BUTTONA, args.text, WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0, nextId_++);
  auto control = std::make_unique<Win32CheckBox>(*this, child.window);
  control->SetChecked(args.checked);
  CheckBox* box = control.get();
  controls_.push_back(std::move(control));
  return box;
}

Edit* Win32Form::AddEdit(const std::string& name, const EditArgs& args) {
  Child& child = AddChild({.name = name,
                           .planned = {.kind = ControlKind::kEdit,
                                       .bounds = args.bounds,
                                       .tabOrder = args.tabOrder,
                                       .group = GroupIndex(args.parent)}},
                          WC_EDITA, "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, nextId_++);
  AddNameLabel(child, args.accessibleName);
  auto control = std::make_unique<Win32Edit>(*this, child.window);
  Edit* edit = control.get();
  controls_.push_back(std::move(control));
  return edit;
}

ComboBox* Win32Form::AddComboBox(const std::string& name, const ComboBoxArgs& args) {
  Child& child =
      AddChild({.name = name,
                .planned = {.kind = ControlKind::kComboBox,
                            .bounds = args.bounds,
                            .tabOrder = args.tabOrder,
                            .group = GroupIndex(args.parent)}},
               WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, nextId_++);
  SendMessageA(child.window, CB_SETMINVISIBLE, kVisibleItems, 0);
  AddNameLabel(child, args.accessibleName);
  auto control = std::make_unique<Win32ComboBox>(*this, child.window);
  ComboBox* box = control.get();
  child.onNotify = [this, box](WORD code) {
    // The focus coming back with the window's activation is no new visit.
    if (code == CBN_SETFOCUS && !focusComingBack_) application_.Dispatch(box->onEnter);
    // Sent for the user's choice only, never for a selection the program makes.
    if (code == CBN_SELCHANGE) application_.Dispatch(box->onChange);
  };
  controls_.push_back(std::move(control));
  return box;
}

GroupBox* Win32Form::AddGroupBox(const std::string& name, const GroupBoxArgs& args) {
  Child& child = AddChild({.name = name,
                           .planned = {.kind = ControlKind::kGroupBox,
                                       .bounds = args.bounds,
                                       .tabOrder = args.tabOrder}},
                          WC_BUTTONA, args.text, BS_GROUPBOX, 0, nextId_++);
  auto control = std::make_unique<Win32GroupBox>(*this, child.window);
  child.isGroup = control.get();
  GroupBox* box = control.get();
  controls_.push_back(std::move(control));
  return box;
}

Control* Win32Form::AddProgramIcon(const std::string& name, const Bounds& bounds) {
  Child& child =
      AddChild({.name = name, .planned = {.kind = ControlKind::kPicture, .bounds = bounds}},
               WC_STATICA, "", SS_ICON, 0, nextId_++);
  controls_.push_back(std::make_unique<Win32Picture>(*this, child.window));
  return controls_.back().get();
}

// The room a control's caption needs in its own font at the current DPI; a caption that cannot be
// measured asks for none.
TextExtent Win32Form::TextNeeds(const Child& child) const {
  const std::string& text = child.planned.caption;
  const HDC dc = GetDC(child.window);
  if (dc == nullptr) return {};
  const HGDIOBJ previous = SelectObject(dc, child.bold ? boldFont_.get() : font_.get());
  SIZE size{};
  const BOOL measured =
      GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(child.window, dc);
  if (!measured) return {};
  switch (child.planned.kind) {
    case ControlKind::kButton:
      size.cx += ScaleDpi(kButtonMargin);
      break;
    case ControlKind::kGroupBox:
      size.cx += ScaleDpi(kGroupCaptionMargin);
      break;
    case ControlKind::kCheckBox: {
      // The system reports the box at the screen's DPI.
      const int box = MulDiv(GetSystemMetrics(SM_CXMENUCHECK), dpi_, application_.ScreenDpi());
      size.cx += box + ScaleDpi(kCheckBoxTextGap);
      size.cy = std::max<LONG>(size.cy, box);
      break;
    }
    default:
      break;
  }
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

std::vector<PlannedControl> Win32Form::Planned() const {
  std::vector<PlannedControl> planned;
  for (const auto& child : children_) planned.push_back(child.planned);
  return planned;
}

// Every control, and the client area with them, so that the window always holds its texts.
void Win32Form::LayoutAll() {
  plan_ = PlanLayout(Planned(), args_.clientWidth, args_.clientHeight, dpi_,
                     [this](std::size_t index) { return TextNeeds(children_[index]); });
  for (std::size_t i = 0; i < children_.size(); ++i) Layout(children_[i], plan_.bounds[i]);
  RECT frame{0, 0, plan_.clientWidth, plan_.clientHeight};
  AdjustWindowRectEx(&frame, FormStyle(), FALSE, FormExStyle(args_));
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::Layout(Child& child, const Bounds& bounds) {
  SendMessageA(child.window, WM_SETFONT,
               reinterpret_cast<WPARAM>(child.bold ? boldFont_.get() : font_.get()), FALSE);
  int height = bounds.height;
  if (child.planned.kind == ControlKind::kComboBox) {
    SendMessageA(child.window, CB_SETITEMHEIGHT, 0, plan_.ScaleY(kItemHeight));
    height += kVisibleItems * plan_.ScaleY(kItemHeight);  // room for the opened list
  }
  if (child.planned.kind == ControlKind::kPicture && child.iconSize != bounds.width) {
    const HICON icon = LoadProgramIcon(bounds.width, LR_DEFAULTCOLOR);
    SendMessageA(child.window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (child.icon != nullptr) DestroyIcon(child.icon);
    child.icon = icon;
    child.iconSize = bounds.width;
  }
  SetWindowPos(child.window, nullptr, bounds.left, bounds.top, bounds.width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::ApplyDpi(int dpi) {
  dpi_ = dpi;
  // The old fonts stay alive until every control has the new ones.
  const Font oldFont = std::exchange(font_, MakeFont(dpi_, false));
  const Font oldBoldFont = std::exchange(boldFont_, MakeFont(dpi_, true));
  if (!placed_) return;  // the first showing lays the form out at the new DPI
  LayoutAll();
  InvalidateRect(window_, nullptr, TRUE);
}

// The form is laid out here, once all its controls exist, so that a window never shown costs
// no layout. The dialog manager walks the controls in their z-order: the form's controls by tab
// order, each group box followed by its own controls, then the links in reading order; labels
// and pictures last. The arrow keys stay within a group: the form's own controls, a group box's,
// the links, the labels; a group box is one of its own. The window is centred on the desktop's
// work area.
void Win32Form::PrepareFirstShowing() {
  if (placed_) return;
  placed_ = true;
  LayoutAll();
  const std::vector<PlannedControl> planned = Planned();
  std::vector<std::size_t> order = TabChain(planned);
  const std::vector<std::size_t> links = LinkChain(planned);
  order.insert(order.end(), links.begin(), links.end());
  for (std::size_t i = 0; i < children_.size(); ++i) {
    if (!planned[i].tabOrder && !planned[i].link) order.push_back(i);
  }
  const auto groupOf = [this](std::size_t index) {
    const PlannedControl& planned = children_[index].planned;
    if (planned.link) return std::pair{2, std::size_t{0}};
    if (!planned.tabOrder) return std::pair{3, std::size_t{0}};
    if (planned.kind == ControlKind::kGroupBox) return std::pair{1, index};
    return std::pair{0, planned.group};
  };
  HWND previous = HWND_TOP;
  const auto place = [&previous](HWND window) {
    SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = window;
  };
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Child& child = children_[order[i]];
    if (i == 0 || groupOf(order[i]) != groupOf(order[i - 1])) {
      SetWindowLongA(child.window, GWL_STYLE, GetWindowLongA(child.window, GWL_STYLE) | WS_GROUP);
    }
    if (child.nameLabel != nullptr) place(child.nameLabel);
    place(child.window);
  }

  RECT frame{};
  GetWindowRect(window_, &frame);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
}

void Win32Form::ShowModal() {
  const HWND active = GetActiveWindow();
  for (HWND other : application_.VisibleEnabledForms()) {
    if (other == window_) continue;
    EnableWindow(other, FALSE);
    disabledWhileModal_.push_back(other);
  }
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
  ReenableWindows();
}

void Win32Form::ReenableWindows() {
  for (HWND window : disabledWhileModal_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabledWhileModal_.clear();
}

// The windows a modal showing disabled come back first, and the activation is handed back
// before hiding: otherwise Windows would activate whatever window lies below, maybe another
// program's.
void Win32Form::Hide() {
  ReenableWindows();
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
    if (application_.Dispatch(onClose)) Hide();
    return;
  }
  // Closing the main window ends the program; a second close request (a close message queued
  // meanwhile) must not run the close handler again.
  if (closing_) return;
  closing_ = true;
  application_.Dispatch(onClose);
  PostQuitMessage(0);
}

HWND Win32Form::ChildWindow(const std::string& name) const {
  const auto child = std::ranges::find(children_, name, &Child::name);
  return child == children_.end() ? nullptr : child->window;
}

Win32Form::Child* Win32Form::FindChild(HWND window) {
  const auto child = std::ranges::find(children_, window, &Child::window);
  return child == children_.end() ? nullptr : &*child;
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
  const std::size_t index = GroupIndex(group);
  for (const std::size_t stop : TabChain(Planned())) {
    if (children_[stop].planned.group != index) continue;
    FocusChild(children_[stop].window);
    return;
  }
}

LRESULT Win32Form::ControlColour(HDC dc, HWND control) {
  const int face = FaceColour(args_);
  SetBkColor(dc, GetSysColor(face));
  if (const Child* child = FindChild(control); child != nullptr && child->planned.link) {
    SetTextColor(dc, LinkColour(GetSysColor(face)));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
}

// The caption where a label would show it, in the link colour on the window's face; the focus
// mark around the whole box while the keyboard is on it.
void Win32Form::DrawLink(const Child& link, const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  RECT box = item.rcItem;
  FillRect(dc, &box, reinterpret_cast<HBRUSH>(ControlColour(dc, item.hwndItem)));
  SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ previous = SelectObject(dc, link.bold ? boldFont_.get() : font_.get());
  const std::string& text = link.planned.caption;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    DrawFocusRect(dc, &item.rcItem);
  }
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // Escape arrives as IDCANCEL, which no control has: no button of ours cancels, and only
      // the windows made to close by it close, as their close box closes them.
      if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
        if (args_.escapeCloses) HandleClose();
        return 0;
      }
      const HWND source =
          lParam != 0 ? reinterpret_cast<HWND>(lParam) : GetDlgItem(window_, LOWORD(wParam));
      if (const Child* child = FindChild(source); child != nullptr && child->onNotify) {
        const auto notify = child->onNotify;
        notify(HIWORD(wParam));
      }
      return 0;
    }
    case WM_DRAWITEM:
      if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
          const Child* child = FindChild(item->hwndItem)) {
        DrawLink(*child, *item);
        return TRUE;
      }
      break;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(FaceColour(args_)));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (const Child* child = FindChild(reinterpret_cast<HWND>(wParam));
          child != nullptr && child->planned.link && LOWORD(lParam) == HTCLIENT) {
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
    default:
      break;
  }
  return DefDlgProcA(window, message, wParam, lParam);
}

}  // namespace trelik
