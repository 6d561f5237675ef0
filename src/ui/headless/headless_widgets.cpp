#include "ui/headless/headless_widgets.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>

#include "common/error.h"
#include "common/letter_case.h"
#include "ui/layout_plan.h"

namespace trelik {
namespace {

// A control without state of its own: a group box or a picture.
class HeadlessPassive final : public GroupBox {
 public:
  void SetFocus() override {}
};

}  // namespace

void HeadlessLabel::SetFocus() { form_.SetFocusedControl(name_); }
void HeadlessLabel::Click() { form_.Application().Dispatch(onClick); }

void HeadlessButton::SetFocus() { form_.SetFocusedControl(name_); }
void HeadlessButton::Click() { form_.Application().Dispatch(onClick); }

void HeadlessCheckBox::SetFocus() { form_.SetFocusedControl(name_); }
void HeadlessEdit::SetFocus() { form_.SetFocusedControl(name_); }

void HeadlessComboBox::SetFocus() {
  if (form_.SetFocusedControl(name_)) form_.Application().Dispatch(onEnter);
}

void HeadlessComboBox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  selected_ = kNone;
}

void HeadlessComboBox::RemoveItem(int index) {
  items_.erase(items_.begin() + index);
  selected_ = kNone;
}

void HeadlessComboBox::SetSelectedIndex(int index) {
  selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : kNone;
}

void HeadlessComboBox::Choose(int index) {
  SetSelectedIndex(index);
  form_.Application().Dispatch(onChange);
}

int HeadlessComboBox::FindExact(const std::string& text) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (EqualIgnoringCase(items_[i], text)) return static_cast<int>(i);
  }
  return kNone;
}

HeadlessForm::HeadlessForm(HeadlessApplication& application, FormArgs args)
    : application_(application), args_(std::move(args)) {}

HeadlessForm::~HeadlessForm() = default;

template <typename T>
T* HeadlessForm::Adopt(std::unique_ptr<T> widget, HeadlessControlInfo info) {
  if (std::ranges::any_of(controls_, [&](const auto& c) { return c.name == info.name; })) {
    throw std::logic_error("two controls named " + info.name);
  }
  T* raw = widget.get();
  widgets_.push_back(std::move(widget));
  controls_.push_back(std::move(info));
  return raw;
}

std::size_t HeadlessForm::IndexOf(const std::string& name) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].name == name) return i;
  }
  throw std::out_of_range("no control named " + name);
}

std::string HeadlessForm::ParentName(const GroupBox* parent) const {
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    if (widgets_[i].get() == parent) return controls_[i].name;
  }
  return {};
}

const HeadlessControlInfo& HeadlessForm::Info(const std::string& name) const {
  return controls_.at(IndexOf(name));
}

Label* HeadlessForm::AddLabel(const std::string& name, const LabelArgs& args) {
  return Adopt(std::make_unique<HeadlessLabel>(*this, name), {.name = name,
                                                              .kind = "Label",
                                                              .text = args.text,
                                                              .bounds = args.bounds,
                                                              .parent = ParentName(args.parent),
                                                              .bold = args.bold,
                                                              .link = args.link,
                                                              .tooltip = args.tooltip});
}

PushButton* HeadlessForm::AddButton(const std::string& name, const ButtonArgs& args) {
  return Adopt(std::make_unique<HeadlessButton>(*this, name), {.name = name,
                                                               .kind = "PushButton",
                                                               .text = args.text,
                                                               .bounds = args.bounds,
                                                               .tabOrder = args.tabOrder,
                                                               .parent = ParentName(args.parent),
                                                               .isDefault = args.isDefault});
}

CheckBox* HeadlessForm::AddCheckBox(const std::string& name, const CheckBoxArgs& args) {
  return Adopt(std::make_unique<HeadlessCheckBox>(*this, name, args.checked),
               {.name = name,
                .kind = "CheckBox",
                .text = args.text,
                .bounds = args.bounds,
                .tabOrder = args.tabOrder,
                .parent = ParentName(args.parent)});
}

Edit* HeadlessForm::AddEdit(const std::string& name, const EditArgs& args) {
  return Adopt(std::make_unique<HeadlessEdit>(*this, name), {.name = name,
                                                             .kind = "Edit",
                                                             .bounds = args.bounds,
                                                             .tabOrder = args.tabOrder,
                                                             .parent = ParentName(args.parent)});
}

ComboBox* HeadlessForm::AddComboBox(const std::string& name, const ComboBoxArgs& args) {
  return Adopt(std::make_unique<HeadlessComboBox>(*this, name),
               {.name = name,
                .kind = "ComboBox",
                .bounds = args.bounds,
                .tabOrder = args.tabOrder,
                .parent = ParentName(args.parent)});
}

GroupBox* HeadlessForm::AddGroupBox(const std::string& name, const GroupBoxArgs& args) {
  return Adopt(std::make_unique<HeadlessPassive>(), {.name = name,
                                                     .kind = "GroupBox",
                                                     .text = args.text,
                                                     .bounds = args.bounds,
                                                     .tabOrder = args.tabOrder});
}

Control* HeadlessForm::AddProgramIcon(const std::string& name, const Bounds& bounds) {
  return Adopt(std::make_unique<HeadlessPassive>(),
               {.name = name, .kind = "ProgramIcon", .bounds = bounds});
}

void HeadlessForm::Show() {
  if (visible_) return;
  visible_ = true;
  application_.Dispatch(onShow);
}

void HeadlessForm::ShowModal() {
  Show();
  if (application_.onModal) application_.onModal(*this);
  if (visible_) Close();
}

void HeadlessForm::Close() {
  const bool handled = application_.Dispatch(onClose);
  if (args_.isMainForm) {
    visible_ = false;
    application_.EndProgram();
  } else if (handled) {
    visible_ = false;
  }
}

void HeadlessForm::PressEscape() {
  if (args_.escapeCloses) Close();
}

void HeadlessForm::PressF1() {
  if (onHelp) application_.Dispatch(onHelp);
}

Control* HeadlessForm::FocusedWidget() const {
  return focused_.empty() ? nullptr : widgets_[IndexOf(focused_)].get();
}

void HeadlessForm::PressEnter() {
  Control* focused = FocusedWidget();
  if (dynamic_cast<HeadlessButton*>(focused) != nullptr ||
      dynamic_cast<HeadlessLabel*>(focused) != nullptr) {
    PressSpace();
    return;
  }
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].isDefault) {
      dynamic_cast<HeadlessButton&>(*widgets_[i]).Click();
      return;
    }
  }
}

void HeadlessForm::PressSpace() {
  Control* focused = FocusedWidget();
  if (auto* button = dynamic_cast<HeadlessButton*>(focused)) button->Click();
  if (auto* link = dynamic_cast<HeadlessLabel*>(focused)) link->Click();
  if (auto* box = dynamic_cast<HeadlessCheckBox*>(focused)) box->Click();
}

void HeadlessForm::PressTab() {
  static const std::map<std::string, ControlKind> kinds = {
      {"Label", ControlKind::kLabel},        {"PushButton", ControlKind::kButton},
      {"CheckBox", ControlKind::kCheckBox},  {"Edit", ControlKind::kEdit},
      {"ComboBox", ControlKind::kComboBox},  {"GroupBox", ControlKind::kGroupBox},
      {"ProgramIcon", ControlKind::kPicture}};
  std::vector<PlannedControl> planned;
  for (const auto& c : controls_) {
    planned.push_back({.kind = kinds.at(c.kind),
                       .bounds = c.bounds,
                       .tabOrder = c.tabOrder < 0 ? std::nullopt : std::optional(c.tabOrder),
                       .group = c.parent.empty() ? kNoGroup : IndexOf(c.parent),
                       .link = c.link});
  }
  std::vector<std::size_t> stops;
  for (const std::size_t stop : TabChain(planned)) {
    if (planned[stop].kind != ControlKind::kGroupBox) stops.push_back(stop);
  }
  std::ranges::copy(LinkChain(planned), std::back_inserter(stops));
  if (stops.empty()) return;
  const auto at = std::ranges::find_if(
      stops, [&](std::size_t stop) { return controls_[stop].name == focused_; });
  const std::size_t next =
      at == stops.end() ? stops.front() : stops[(at - stops.begin() + 1) % stops.size()];
  widgets_[next]->SetFocus();
}

bool HeadlessForm::SetFocusedControl(const std::string& name) {
  if (focused_ == name) return false;
  focused_ = name;
  return true;
}

std::unique_ptr<Form> HeadlessApplication::CreateForm(const FormArgs& args) {
  return std::make_unique<HeadlessForm>(*this, args);
}

void HeadlessApplication::ShowMessage(const std::string& text) {
  messages_.push_back({false, text});
}

bool HeadlessApplication::AskQuestion(const std::string& text) {
  messages_.push_back({.text = text, .isQuestion = true});
  return answerYes;
}

void HeadlessApplication::ShowError(const std::string& message) {
  messages_.push_back({true, FormatErrorBoxText(message)});
}

void HeadlessApplication::Run(Form& mainForm) { mainForm.Show(); }

}  // namespace trelik
