#include "ui/win32/win32_controls.h"

#include "ui/win32/win32_form.h"

namespace trelik {

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

std::vector<std::string> Win32ComboBox::Items() const {
  const auto count = SendMessageA(window_, CB_GETCOUNT, 0, 0);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageA(window_, CB_GETLBTEXTLEN, i, 0);
    std::string item(length == CB_ERR ? 0 : static_cast<std::size_t>(length) + 1, '\0');
    if (!item.empty()) {
      const auto copied =
          SendMessageA(window_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      item.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    }
    items.push_back(std::move(item));
  }
  return items;
}

void Win32ComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(window_, CB_RESETCONTENT, 0, 0);
  for (const auto& item : items) AddItem(item);
}

void Win32ComboBox::AddItem(const std::string& item) {
  SendMessageA(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Win32ComboBox::RemoveItem(int index) {
  SendMessageA(window_, CB_DELETESTRING, index, 0);
  SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int Win32ComboBox::SelectedIndex() const {
  const auto index = SendMessageA(window_, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? kNone : static_cast<int>(index);
}

void Win32ComboBox::SetSelectedIndex(int index) {
  SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The list's own search compares the whole text without regard to letter case.
int Win32ComboBox::FindExact(const std::string& text) const {
  const auto index = SendMessageA(window_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(text.c_str()));
  return index == CB_ERR ? kNone : static_cast<int>(index);
}

void Win32GroupBox::SetFocus() { form_.FocusFirstIn(this); }

}  // namespace trelik
