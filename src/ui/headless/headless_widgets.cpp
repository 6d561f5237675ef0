#include "ui/headless/headless_widgets.h"

#include <algorithm>
#include <cctype>

#include "common/error.h"
#include "ui/access_key.h"
#include "ui/type_ahead.h"

namespace trelik {

void HeadlessLabel::Click() {
  if (enabled_) form_.Application().Dispatch(onClick);
}
void HeadlessButton::Click() {
  if (enabled_) form_.Application().Dispatch(onClick);
}

void HeadlessEdit::SetText(const std::string& text) {
  text_ = text;
  form_.Application().Dispatch(onChange);
}

void HeadlessComboBox::SetFocus() {
  if (form_.SetFocusedControl(name_)) form_.Application().Dispatch(onEnter);
}

void HeadlessComboBox::SetSelectedIndex(int index) {
  selected_ = index >= 0 && index < static_cast<int>(Items().size()) ? index : kNone;
}

void HeadlessComboBox::Choose(int index) {
  SetSelectedIndex(index);
  form_.Application().Dispatch(onChange);
}

void HeadlessComboBox::Open() {
  dropped_ = true;
  highlighted_ = selected_;
}

void HeadlessComboBox::ChooseHighlighted() {
  dropped_ = false;
  Choose(highlighted_);
}

void HeadlessComboBox::Type(const std::string& letters) {
  for (std::size_t typed = 1; typed <= letters.size(); ++typed) {
    const int index = TypeAheadIndex(Items(), selected_, letters.substr(0, typed));
    if (index != selected_) Choose(index);
  }
}

HeadlessForm::HeadlessForm(HeadlessApplication& application, FormArgs args)
    : application_(application), args_(std::move(args)) {}

// Group boxes, pictures and any other control without state of its own take only the focus.
std::unique_ptr<Control> HeadlessForm::Create(const DeclaredControl& declared) {
  switch (declared.planned.kind) {
    case ControlKind::kLabel:
      return std::make_unique<HeadlessLabel>(*this, declared.name, declared.planned.caption);
    case ControlKind::kButton:
      return std::make_unique<HeadlessButton>(*this, declared.name);
    case ControlKind::kCheckBox:
      return std::make_unique<HeadlessCheckBox>(*this, declared.name, declared.checked);
    case ControlKind::kEdit:
      return std::make_unique<HeadlessEdit>(*this, declared.name);
    case ControlKind::kComboBox:
      return std::make_unique<HeadlessComboBox>(*this, declared.name);
    default:
      return std::make_unique<HeadlessControl<GroupBox>>(*this, declared.name);
  }
}

// As in a dialog, the first stop has the focus until the window says otherwise.
void HeadlessForm::Show() {
  if (visible_) return;
  visible_ = true;
  if (focused_.empty()) PressTab();
  application_.Dispatch(onShow);
  // Nothing is drawn here: the window counts as drawn as soon as it is shown.
  application_.Dispatch(onShown);
}

void HeadlessForm::ShowModal() {
  Show();
  if (application_.onModal) application_.onModal(*this);
  if (visible_) Close();
}

void HeadlessForm::Close() {
  if (!application_.MayClose(*this)) return;
  const bool handled = application_.Dispatch(onClose);
  if (args_.isMainForm) {
    visible_ = false;
    application_.EndProgram();
  } else if (handled) {
    visible_ = false;
  }
}

void HeadlessForm::PressEscape() {
  if (onEscape) {
    application_.Dispatch(onEscape);
  } else if (args_.escapeCloses) {
    Close();
  }
}

void HeadlessForm::PressF1() {
  if (onHelp) application_.Dispatch(onHelp);
}

Control* HeadlessForm::FocusedWidget() {
  return focused_.empty() ? nullptr : &Find<Control>(focused_);
}

void HeadlessForm::PressEnter() {
  Control* focused = FocusedWidget();
  if (dynamic_cast<HeadlessButton*>(focused) != nullptr ||
      dynamic_cast<HeadlessLabel*>(focused) != nullptr) {
    return PressSpace();
  }
  if (auto* list = dynamic_cast<HeadlessComboBox*>(focused); list != nullptr && list->Dropped()) {
    return list->ChooseHighlighted();
  }
  for (const DeclaredControl& control : Controls()) {
    if (control.isDefault) return Find<HeadlessButton>(control.name).Click();
  }
}

void HeadlessForm::PressSpace() {
  Control* focused = FocusedWidget();
  if (auto* button = dynamic_cast<HeadlessButton*>(focused)) button->Click();
  if (auto* link = dynamic_cast<HeadlessLabel*>(focused)) link->Click();
  if (auto* box = dynamic_cast<HeadlessCheckBox*>(focused)) box->Click();
}

void HeadlessForm::PressAccessKey(char letter) {
  for (const DeclaredControl& control : Controls()) {
    if (AccessKeyLetter({control.planned.caption, control.accessKey}) !=
        static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))) {
      continue;
    }
    Control& pressed = Find<Control>(control.name);
    if (!pressed.Enabled()) return;
    pressed.SetFocus();
    return PressSpace();
  }
}

// A group box passes the focus on to its first control, so it is no stop of its own.
void HeadlessForm::PressTab() {
  std::vector<std::string> stops;
  for (const KeyboardStop& stop : KeyboardOrder(Planned())) {
    const DeclaredControl& control = Controls()[stop.index];
    if (stop.reached && control.planned.kind != ControlKind::kGroupBox &&
        Find<Control>(control.name).Enabled()) {
      stops.push_back(control.name);
    }
  }
  if (stops.empty()) return;
  const auto at = std::ranges::find(stops, focused_);
  Find<Control>(at == stops.end() || at + 1 == stops.end() ? stops.front() : *(at + 1)).SetFocus();
}

bool HeadlessForm::SetFocusedControl(const std::string& name) {
  if (focused_ == name) return false;
  focused_ = name;
  return true;
}

std::unique_ptr<Form> HeadlessApplication::CreateForm(const FormArgs& args) {
  ++formsMade_;
  return std::make_unique<HeadlessForm>(*this, args);
}

std::optional<Answer> HeadlessApplication::Record(Message message) {
  messages_.push_back(std::move(message));
  if (answers.empty()) return std::nullopt;
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

void HeadlessApplication::ShowMessage(const Form* owner, const std::string& text) {
  Record({.text = text, .owner = owner});
}

bool HeadlessApplication::AskQuestion(const Form* owner, const std::string& text) {
  const auto answer = Record({.text = text, .isQuestion = true, .owner = owner});
  return answer ? *answer == Answer::kYes : answerYes;
}

Answer HeadlessApplication::AskYesNoCancel(const Form* owner, const std::string& text) {
  return Record({.text = text, .isQuestion = true, .owner = owner}).value_or(Answer::kYes);
}

void HeadlessApplication::ShowError(const std::string& message) {
  Record({.isError = true, .text = FormatErrorBoxText(message)});
}

void HeadlessApplication::Run(Form& mainForm) { mainForm.Show(); }

}  // namespace trelik
