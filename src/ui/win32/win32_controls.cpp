#include "ui/win32/win32_controls.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "common/error.h"
#include "common/system_error.h"
#include "common/win32/narrow_text.h"
#include "shell/win32/ole_session.h"
#include "ui/type_ahead.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_link.h"
#include "ui/win32/win32_widgets.h"
#include "ui/win32/window_binding.h"

namespace trelik {
template <typename Interface>
HWND ChildControl<Interface>::Window() const {
  form_.MakeControls();
  return window_;
}

template <typename Interface>
void ChildControl<Interface>::SetFocus() {
  form_.FocusChild(Window());
}

template <typename Interface>
void ChildControl<Interface>::SetEnabled(bool enabled) {
  EnableWindow(Window(), enabled ? TRUE : FALSE);
}

template <typename Interface>
bool ChildControl<Interface>::Enabled() const {
  return IsWindowEnabled(Window()) != FALSE;
}

template class ChildControl<Label>;
template class ChildControl<PushButton>;
template class ChildControl<Control>;
template class ChildControl<CheckBox>;
template class ChildControl<Edit>;
template class ChildControl<ComboBox>;
template class ChildControl<GroupBox>;

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

std::string Win32Label::Text() const { return WindowText(Window()); }

void Win32Label::SetText(const std::string& text) {
  SetWindowTextA(Window(), text.c_str());
  if (asked_) Annotate();
}

void Win32Label::Describe(HWND described) {
  described_ = described;
  SetWindowSubclass(described, &AskedProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Win32Label::AskedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
  auto* label = reinterpret_cast<Win32Label*>(self);
  if (message == WM_GETOBJECT && !std::exchange(label->asked_, true)) label->Annotate();
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &AskedProcedure, 0);
  return DefSubclassProc(window, message, wParam, lParam);
}

// Screen readers also ask a control for its description; where the accessibility layer keeps
// none (Wine's), the label just after the control in the dialog is what they read.
void Win32Label::Annotate() {
  const std::string text = Text();
  UseOle();
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return;
  }
  if (const auto wide = StrictWideText(text, CP_ACP)) {
    services->SetHwndPropStr(described_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_DESCRIPTION, wide->c_str());
  }
  services->Release();
}

bool Win32CheckBox::Checked() const {
  return SendMessageA(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::SetChecked(bool checked) {
  SendMessageA(Window(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string Win32Edit::Text() const { return WindowText(Window()); }

void Win32Edit::SetText(const std::string& text) { SetWindowTextA(Window(), text.c_str()); }

// The cue banner takes only UTF-16; a text the code page cannot decode is left out. It shows
// while the box has the focus too: the main window opens with the focus in it.
void Win32Edit::SetCueText(const std::string& text) {
  if (const auto wide = StrictWideText(text, CP_ACP)) {
    SendMessageW(Window(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(wide->c_str()));
  }
}

bool Win32ComboBox::AddNative(const std::string& item) {
  return SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) >= 0;
}

void Win32ComboBox::RemoveNative(int index) {
  SendMessageA(Window(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32ComboBox::ClearNative() { SendMessageA(Window(), CB_RESETCONTENT, 0, 0); }

int Win32ComboBox::SelectedIndex() const {
  const auto index = SendMessageA(Window(), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? kNone : static_cast<int>(index);
}

void Win32ComboBox::SetSelectedIndex(int index) {
  SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32ComboBox::Attach(HWND window) {
  ChildControl::Attach(window);
  SetWindowSubclass(window, &TypeAheadProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

// Space is left to the list, which Qt's opens with it.
LRESULT CALLBACK Win32ComboBox::TypeAheadProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  if (message == WM_CHAR && wParam > ' ' && wParam != 0x7F) {
    reinterpret_cast<Win32ComboBox*>(self)->TypeLetter(static_cast<char>(wParam));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &TypeAheadProcedure, 0);
  return DefSubclassProc(window, message, wParam, lParam);
}

void Win32ComboBox::TypeLetter(char letter) {
  // The pause after which a letter starts a new search, as Windows' list views keep it.
  constexpr ULONGLONG kPause = 1000;
  const ULONGLONG now = GetTickCount64();
  if (now - lastLetter_ > kPause) typed_.clear();
  lastLetter_ = now;
  typed_.push_back(letter);
  const int index = TypeAheadIndex(Items(), SelectedIndex(), typed_);
  if (index == SelectedIndex()) return;
  SetSelectedIndex(index);
  SendMessageA(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(window_));
}

void Win32ComboBox::FitDroppedWidth() {
  const HDC dc = GetDC(window_);
  if (dc == nullptr) return;
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (const auto& item : Items()) {
    SIZE size{};
    if (GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size)) {
      widest = std::max(widest, size.cx);
    }
  }
  SelectObject(dc, previous);
  ReleaseDC(window_, dc);
  // The list's borders, its scroll bar and the margins each entry is drawn with.
  LONG wide = widest + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE) + 8;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    wide = std::min(wide, monitor.rcWork.right - monitor.rcWork.left);
  }
  SendMessageA(window_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(wide), 0);
}

void Win32GroupBox::SetFocus() { form_.FocusFirstIn(this); }

// Controls inside a group box are still children of the form, so that their notifications
// reach it; only their positions are relative to the group box. Buttons, check boxes and links
// carry their access key marked, so that the dialog manager finds it and the control underlines
// it.
HWND Win32Form::AddChild(std::size_t index, const char* className, DWORD style, DWORD exStyle,
                         int id) {
  const DeclaredControl& declared = Controls()[index];
  const std::string text = declared.MarkedCaption();
  // Made in its place when the layout has it, which saves moving it; else the layout moves it.
  const bool inPlan = index < plan_.bounds.size();
  const Bounds bounds = inPlan ? plan_.bounds[index] : Bounds{};
  const DWORD group = groupStarts_.contains(index) ? WS_GROUP : 0;
  const HWND window = CreateWindowExA(
      exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style | group, bounds.left,
      bounds.top, bounds.width, inPlan ? WindowHeight(index, bounds) : 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (window == nullptr) {
    throw Error("Cannot create the control " + declared.name + ": " + LastSystemErrorText());
  }
  children_[index].window = window;
  children_[index].control->Attach(window);
  madeOrder_.push_back(window);
  if (inPlan) Dress(index, bounds);
  return window;
}

// The control and its event wiring; its child window is made with the others when the form
// first needs them, or at once when they exist already.
std::unique_ptr<Control> Win32Form::Create(const DeclaredControl& declared) {
  std::unique_ptr<Control> made = nullptr;
  Child child;
  switch (declared.planned.kind) {
    case ControlKind::kLabel: {
      auto label = std::make_unique<Win32Label>(*this);
      child.control = label.get();
      child.onNotify = [this, label = label.get()](WORD code) {
        if (code == BN_CLICKED) application_.Dispatch(label->onClick);
      };
      made = std::move(label);
      break;
    }
    case ControlKind::kButton: {
      auto button = std::make_unique<Win32Button>(*this);
      child.control = button.get();
      child.onNotify = [this, button = button.get()](WORD code) {
        if (code == BN_CLICKED) application_.Dispatch(button->onClick);
        // A click, or SetFocus, gives a button the focus without the dialog manager, which
        // Wine's buttons do not tell. Told, it frames the focused button as the one Enter
        // presses, and the default button again once the focus leaves, as it does for Tab.
        const auto self = reinterpret_cast<WPARAM>(button->Window());
        if (code == BN_SETFOCUS) SendMessageA(window_, WM_NEXTDLGCTL, self, TRUE);
        if (code == BN_KILLFOCUS) SendMessageA(window_, DM_SETDEFID, IDOK, 0);
      };
      made = std::move(button);
      break;
    }
    case ControlKind::kCheckBox:
      made = std::make_unique<Win32CheckBox>(*this);
      child.control = dynamic_cast<NativeChild*>(made.get());
      break;
    case ControlKind::kEdit: {
      auto edit = std::make_unique<Win32Edit>(*this);
      child.control = edit.get();
      child.onNotify = [this, edit = edit.get()](WORD code) {
        if (code == EN_CHANGE) application_.Dispatch(edit->onChange);
      };
      made = std::move(edit);
      break;
    }
    case ControlKind::kComboBox: {
      auto box = std::make_unique<Win32ComboBox>(*this);
      child.control = box.get();
      child.onNotify = [this, box = box.get()](WORD code) {
        // The focus coming back with the window's activation is no new visit.
        if (code == CBN_SETFOCUS && !focusComingBack_) application_.Dispatch(box->onEnter);
        // Sent for the user's choice only, never for a selection the program makes.
        if (code == CBN_SELCHANGE) application_.Dispatch(box->onChange);
        if (code == CBN_DROPDOWN) box->FitDroppedWidth();
      };
      made = std::move(box);
      break;
    }
    case ControlKind::kGroupBox:
      made = std::make_unique<Win32GroupBox>(*this);
      child.control = dynamic_cast<NativeChild*>(made.get());
      break;
    case ControlKind::kPicture:
      made = std::make_unique<Win32Picture>(*this);
      child.control = dynamic_cast<NativeChild*>(made.get());
      break;
  }
  children_.push_back(std::move(child));
  if (controlsMade_) {
    MakeNative(children_.size() - 1);
    // Before the first showing the form is laid out once, with all its controls; a control
    // added later may change the scale of all the others.
    if (placed_) LayoutAll();
  }
  return made;
}

// A hidden window's controls cost nothing until it is shown or the program asks for one of
// them: a window the user never opens never makes them.
void Win32Form::MakeControls() {
  if (controlsMade_) return;
  controlsMade_ = true;
  plan_ = Plan();
  // The keyboard's groups are known now too, and each control is made with its own style.
  for (const KeyboardStop& stop : KeyboardOrder(Planned())) {
    if (stop.startsGroup && Controls()[stop.index].describes == kNoGroup) {
      groupStarts_.insert(stop.index);
    }
  }
  for (std::size_t index = 0; index < children_.size(); ++index) MakeNative(index);
}

void Win32Form::MakeNative(std::size_t index) {
  const DeclaredControl& declared = Controls()[index];
  switch (declared.planned.kind) {
    case ControlKind::kLabel: {
      const bool link = declared.planned.link;
      const bool tip = !declared.tooltip.empty();
      const bool describes = declared.describes != kNoGroup;
      const DWORD text = describes ? SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS : SS_LEFT;
      const HWND window = link
                              ? AddChild(index, WC_BUTTONA, WS_TABSTOP | BS_OWNERDRAW, 0, nextId_++)
                              : AddChild(index, WC_STATICA,
                                         text | SS_NOPREFIX | (tip ? SS_NOTIFY : 0), 0, nextId_++);
      if (describes) {
        children_[declared.describes].description = window;
        dynamic_cast<Win32Label&>(*children_[index].control)
            .Describe(children_[declared.describes].window);
      }
      if (link) MakeLink(window);
      if (tip) AddTooltip(window, declared.tooltip);
      break;
    }
    case ControlKind::kButton: {
      // Enter presses the dialog's default button, IDOK unless told otherwise.
      const bool isDefault = declared.isDefault && GetDlgItem(window_, IDOK) == nullptr;
      AddChild(index, WC_BUTTONA, WS_TABSTOP | BS_NOTIFY | (isDefault ? BS_DEFPUSHBUTTON : 0), 0,
               isDefault ? IDOK : nextId_++);
      break;
    }
    case ControlKind::kCheckBox: {
      const HWND window =
          AddChild(index, WC_BUTTONA, WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0, nextId_++);
      SendMessageA(window, BM_SETCHECK, declared.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    }
    case ControlKind::kEdit:
      AddChild(index, WC_EDITA, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, nextId_++);
      AddNameLabel(children_[index], declared.accessibleName);
      break;
    case ControlKind::kComboBox:
      AddChild(index, WC_COMBOBOXA, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, nextId_++);
      AddNameLabel(children_[index], declared.accessibleName);
      break;
    case ControlKind::kGroupBox:
      AddChild(index, WC_BUTTONA, BS_GROUPBOX, 0, nextId_++);
      break;
    case ControlKind::kPicture:
      AddChild(index, WC_STATICA, SS_ICON, 0, nextId_++);
      break;
  }
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
  if (child.nameLabel != nullptr) madeOrder_.push_back(child.nameLabel);
}

}  // namespace trelik
