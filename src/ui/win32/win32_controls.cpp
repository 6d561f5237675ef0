#include "ui/win32/win32_controls.h"

#include <commctrl.h>

#include <optional>

#include "common/ascii_case.h"
#include "ui/win32/win32_form.h"

namespace trelik {
namespace {

// The text of bytes in the process code page, or nothing when they are not valid in it.
std::optional<std::wstring> StrictWide(const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
  return text;
}

// Equal regardless of letter case as the file system and the registry see it: ASCII letters in
// any bytes, all letters in text valid in the code page.
bool SameName(const std::string& a, const std::string& b) {
  if (EqualIgnoringAsciiCase(a, b)) return true;
  const auto textA = StrictWide(a);
  const auto textB = StrictWide(b);
  return textA && textB &&
         CompareStringOrdinal(textA->c_str(), static_cast<int>(textA->size()), textB->c_str(),
                              static_cast<int>(textB->size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

template <typename Interface>
void ChildControl<Interface>::SetFocus() {
  form_.FocusChild(window_);
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

bool Win32CheckBox::Checked() const {
  return SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::SetChecked(bool checked) {
  SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string Win32Edit::Text() const { return WindowText(window_); }

void Win32Edit::SetText(const std::string& text) { SetWindowTextA(window_, text.c_str()); }

// The cue banner takes only UTF-16; a text the code page cannot decode is left out. It shows
// while the box has the focus too: the main window opens with the focus in it.
void Win32Edit::SetCueText(const std::string& text) {
  if (const auto wide = StrictWide(text)) {
    SendMessageW(window_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(wide->c_str()));
  }
}

std::vector<std::string> Win32ComboBox::Items() const { return items_; }

void Win32ComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(window_, CB_RESETCONTENT, 0, 0);
  items_.clear();
  for (const auto& item : items) AddItem(item);
}

// The control shows the entry as the code page decodes it (invalid sequences as replacement
// characters); only an entry the control took is kept, so indexes stay in step.
void Win32ComboBox::AddItem(const std::string& item) {
  if (SendMessageA(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) >= 0) {
    items_.push_back(item);
  }
}

void Win32ComboBox::RemoveItem(int index) {
  if (SendMessageA(window_, CB_DELETESTRING, static_cast<WPARAM>(index), 0) != CB_ERR) {
    items_.erase(items_.begin() + index);
  }
  SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int Win32ComboBox::SelectedIndex() const {
  const auto index = SendMessageA(window_, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? kNone : static_cast<int>(index);
}

void Win32ComboBox::SetSelectedIndex(int index) {
  SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// Compared on the exact bytes: entries the control shows alike are still different names.
int Win32ComboBox::FindExact(const std::string& text) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (SameName(items_[i], text)) return static_cast<int>(i);
  }
  return kNone;
}

void Win32GroupBox::SetFocus() { form_.FocusFirstIn(this); }

}  // namespace trelik
