#include "ui/widgets.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "common/error.h"
#include "common/letter_case.h"
#include "ui/access_key.h"

namespace trelik {
namespace {

// Buttons, check boxes and links are pressed by their access key; other captions show an '&'
// as it is.
bool TakesAccessKey(const PlannedControl& planned) {
  return planned.kind == ControlKind::kButton || planned.kind == ControlKind::kCheckBox ||
         planned.link;
}

}  // namespace

std::string DeclaredControl::MarkedCaption() const {
  return TakesAccessKey(planned) ? MarkAccessKey({planned.caption, accessKey}) : planned.caption;
}

void ComboBox::SetItems(const std::vector<std::string>& items) {
  ClearNative();
  items_.clear();
  for (const auto& item : items) AddItem(item);
  SetSelectedIndex(kNone);
}

void ComboBox::AddItem(const std::string& item) {
  if (AddNative(item)) items_.push_back(item);
}

void ComboBox::RemoveItem(int index) {
  RemoveNative(index);
  items_.erase(items_.begin() + index);
  SetSelectedIndex(kNone);
}

int ComboBox::FindExact(const std::string& text) const {
  const auto found = std::ranges::find_if(
      items_, [&text](const std::string& item) { return EqualIgnoringCase(item, text); });
  return found == items_.end() ? kNone : static_cast<int>(found - items_.begin());
}

// Every declaration takes from its arguments what they hold, under the same names.
template <typename T, typename Args>
T* Form::Declare(ControlKind kind, const std::string& name, const Args& args) {
  if (std::ranges::find(declared_, name, &DeclaredControl::name) != declared_.end()) {
    throw std::logic_error("two controls named " + name);
  }
  DeclaredControl& declared = declared_.emplace_back();
  declared.name = name;
  declared.planned.kind = kind;
  declared.planned.bounds = args.bounds;
  if constexpr (requires { args.link; }) declared.planned.link = args.link;
  if constexpr (requires { args.text; }) {
    declared.planned.caption = args.text;
    if (TakesAccessKey(declared.planned)) {
      AccessKeyCaption caption = ParseAccessKey(args.text);
      declared.planned.caption = std::move(caption.shown);
      declared.accessKey = caption.key;
    }
  }
  if constexpr (requires { args.tabOrder; }) declared.planned.tabOrder = args.tabOrder;
  if constexpr (requires { args.parent; }) declared.planned.group = IndexOf(args.parent);
  if constexpr (requires { args.bold; }) declared.bold = args.bold;
  if constexpr (requires { args.isDefault; }) declared.isDefault = args.isDefault;
  if constexpr (requires { args.checked; }) declared.checked = args.checked;
  if constexpr (requires { args.tooltip; }) declared.tooltip = args.tooltip;
  if constexpr (requires { args.accessibleName; }) declared.accessibleName = args.accessibleName;
  if constexpr (requires { args.describes; }) declared.describes = IndexOf(args.describes);
  std::unique_ptr<Control> control;
  try {
    control = Create(declared);
  } catch (...) {
    declared_.pop_back();
    throw;
  }
  T* made = dynamic_cast<T*>(control.get());
  if (made == nullptr) throw std::logic_error("the backend made another kind of control");
  controls_.push_back(std::move(control));
  return made;
}

Label* Form::AddLabel(const std::string& name, const LabelArgs& args) {
  return Declare<Label>(ControlKind::kLabel, name, args);
}

PushButton* Form::AddButton(const std::string& name, const ButtonArgs& args) {
  return Declare<PushButton>(ControlKind::kButton, name, args);
}

CheckBox* Form::AddCheckBox(const std::string& name, const CheckBoxArgs& args) {
  return Declare<CheckBox>(ControlKind::kCheckBox, name, args);
}

Edit* Form::AddEdit(const std::string& name, const EditArgs& args) {
  return Declare<Edit>(ControlKind::kEdit, name, args);
}

ComboBox* Form::AddComboBox(const std::string& name, const ComboBoxArgs& args) {
  return Declare<ComboBox>(ControlKind::kComboBox, name, args);
}

GroupBox* Form::AddGroupBox(const std::string& name, const GroupBoxArgs& args) {
  return Declare<GroupBox>(ControlKind::kGroupBox, name, args);
}

Control* Form::AddProgramIcon(const std::string& name, const Bounds& bounds) {
  struct PictureArgs {
    Bounds bounds;
  };
  return Declare<Control>(ControlKind::kPicture, name, PictureArgs{bounds});
}

std::size_t Form::IndexOf(const std::string& name) const {
  const auto found = std::ranges::find(declared_, name, &DeclaredControl::name);
  if (found == declared_.end()) throw std::out_of_range("no control named " + name);
  return static_cast<std::size_t>(found - declared_.begin());
}

std::size_t Form::IndexOf(const Control* control) const {
  const auto found = std::ranges::find(controls_, control, &std::unique_ptr<Control>::get);
  return control == nullptr || found == controls_.end()
             ? kNoGroup
             : static_cast<std::size_t>(found - controls_.begin());
}

std::vector<PlannedControl> Form::Planned() const {
  std::vector<PlannedControl> planned;
  for (const auto& declared : declared_) planned.push_back(declared.planned);
  return planned;
}

bool Application::Dispatch(const std::function<void()>& handler) {
  if (!handler) return true;
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("Unexpected error");
  }
  return false;
}

bool Application::MayClose(const Form& form) {
  bool may = true;
  const bool ran = Dispatch([&] {
    if (form.onCloseQuery) may = form.onCloseQuery();
  });
  return ran && may;
}

}  // namespace trelik
