#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/widgets.h"

namespace trelik {

// An in-memory backend: windows and controls keep their state in plain members, and tests act
// on them as a user would (click, type, focus, close) and read what the program showed.

class HeadlessApplication;
class HeadlessForm;

// A control that takes the form's focus; each acts through the application's dispatch, as a
// real event would.
template <typename Interface>
class HeadlessControl : public Interface {
 public:
  HeadlessControl(HeadlessForm& form, std::string name) : form_(form), name_(std::move(name)) {}
  void SetFocus() override;
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const override { return enabled_; }

 protected:
  HeadlessForm& form_;
  std::string name_;
  bool enabled_ = true;
};

class HeadlessLabel final : public HeadlessControl<Label> {
 public:
  HeadlessLabel(HeadlessForm& form, std::string name, std::string text)
      : HeadlessControl(form, std::move(name)), text_(std::move(text)) {}
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  void Click();

 private:
  std::string text_;
};

class HeadlessButton final : public HeadlessControl<PushButton> {
 public:
  using HeadlessControl::HeadlessControl;
  void Click();
};

class HeadlessCheckBox final : public HeadlessControl<CheckBox> {
 public:
  HeadlessCheckBox(HeadlessForm& form, std::string name, bool checked)
      : HeadlessControl(form, std::move(name)), checked_(checked) {}
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  void Click() { checked_ = !checked_; }

 private:
  bool checked_;
};

class HeadlessEdit final : public HeadlessControl<Edit> {
 public:
  using HeadlessControl::HeadlessControl;
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override;
  void SetCueText(const std::string& text) override { cueText_ = text; }
  const std::string& CueText() const { return cueText_; }

 private:
  std::string text_;
  std::string cueText_;
};

class HeadlessComboBox final : public HeadlessControl<ComboBox> {
 public:
  using HeadlessControl::HeadlessControl;
  void SetFocus() override;  // runs onEnter when the focus moves here
  int SelectedIndex() const override { return selected_; }
  void SetSelectedIndex(int index) override;
  void Choose(int index);  // as the user picks an entry: selects it and runs onChange
  // The opened list: the arrow keys move its highlight, Enter chooses the highlighted entry.
  void Open();
  bool Dropped() const { return dropped_; }
  void Highlight(int index) { highlighted_ = index; }
  int Highlighted() const { return highlighted_; }
  void ChooseHighlighted();
  // As the user types `letters` in quick succession after a pause: each moves to the entry
  // starting with the letters so far, and a move runs onChange.
  void Type(const std::string& letters);

 private:
  bool AddNative(const std::string&) override { return true; }
  void RemoveNative(int) override {}
  void ClearNative() override {}

  int selected_ = kNone;
  bool dropped_ = false;
  int highlighted_ = kNone;
};

class HeadlessForm final : public Form {
 public:
  HeadlessForm(HeadlessApplication& application, FormArgs args);

  void Show() override;
  void ShowModal() override;
  void Close() override;
  bool Visible() const override { return visible_; }
  NativeWindow Handle() const override { return const_cast<HeadlessForm*>(this); }

  // For tests.
  const FormArgs& Args() const { return args_; }
  // The keys as the user presses them with the focus where it is.
  // presses the focused button or link, chooses in the focused list that is open, else presses
  // the default button
  void PressEnter();
  void PressSpace();   // presses the focused button or link, or flips the focused check box
  void PressEscape();  // runs the window's Escape handler, or closes it where Escape does
  void PressTab();     // moves the focus to the next stop, then the links, and round
  void PressF1();
  // Alt and a letter: presses the button or link, or flips the check box, whose access key it
  // is, with the focus moved there; nothing for a letter no control has.
  void PressAccessKey(char letter);
  const std::string& FocusedControl() const { return focused_; }
  // Moves the focus; false when it was there already.
  bool SetFocusedControl(const std::string& name);
  HeadlessApplication& Application() { return application_; }

 private:
  std::unique_ptr<Control> Create(const DeclaredControl& declared) override;
  Control* FocusedWidget();

  HeadlessApplication& application_;
  FormArgs args_;
  bool visible_ = false;
  std::string focused_;
};

template <typename Interface>
void HeadlessControl<Interface>::SetFocus() {
  if (enabled_) form_.SetFocusedControl(name_);
}

class HeadlessApplication final : public Application {
 public:
  struct Message {
    bool isError = false;
    std::string text;  // as the box shows it
    bool isQuestion = false;
    const Form* owner = nullptr;  // the window it was shown for, if any
  };

  std::unique_ptr<Form> CreateForm(const FormArgs& args) override;
  using Application::AskQuestion;
  using Application::ShowMessage;
  void ShowMessage(const Form* owner, const std::string& text) override;
  bool AskQuestion(const Form* owner, const std::string& text) override;
  Answer AskYesNoCancel(const Form* owner, const std::string& text) override;
  void ShowError(const std::string& message) override;
  // Shows the main window and returns: tests then act on the windows themselves.
  void Run(Form& mainForm) override;

  const std::vector<Message>& Messages() const { return messages_; }
  int FormsMade() const { return formsMade_; }
  bool Ended() const { return ended_; }
  void EndProgram() { ended_ = true; }

  bool answerYes = false;  // how the user answers questions
  // The buttons the user presses, one for each box in turn (a notice's only button whatever is
  // given); once they are used up, questions get `answerYes` and three-way questions Yes.
  std::deque<Answer> answers;
  // Runs while a window is shown modally; what it leaves open is closed when it returns.
  std::function<void(HeadlessForm&)> onModal;

 private:
  // The next scripted answer, if any, and the box recorded.
  std::optional<Answer> Record(Message message);

  std::vector<Message> messages_;
  int formsMade_ = 0;
  bool ended_ = false;
};

}  // namespace trelik
