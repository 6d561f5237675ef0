#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/widgets.h"

namespace trelik {

// An in-memory backend: windows and controls keep their state in plain members, and tests act
// on them as a user would (click, type, focus, close) and read what the program showed.

class HeadlessApplication;
class HeadlessForm;

// What every headless control records of its declaration.
struct HeadlessControlInfo {
  std::string name;
  std::string kind;
  std::string text;
  Bounds bounds;
  int tabOrder = -1;  // -1: not a tab stop
  std::string parent;
  bool isDefault = false;
  bool bold = false;
  bool link = false;
  std::string tooltip;
};

// The controls: each acts through the application's dispatch, as a real event would.
class HeadlessLabel final : public Label {
 public:
  HeadlessLabel(HeadlessForm& form, std::string name) : form_(form), name_(std::move(name)) {}
  void SetFocus() override;
  void Click();

 private:
  HeadlessForm& form_;
  std::string name_;
};

class HeadlessButton final : public PushButton {
 public:
  HeadlessButton(HeadlessForm& form, std::string name) : form_(form), name_(std::move(name)) {}
  void SetFocus() override;
  void Click();

 private:
  HeadlessForm& form_;
  std::string name_;
};

class HeadlessCheckBox final : public CheckBox {
 public:
  HeadlessCheckBox(HeadlessForm& form, std::string name, bool checked)
      : form_(form), name_(std::move(name)), checked_(checked) {}
  void SetFocus() override;
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  void Click() { checked_ = !checked_; }

 private:
  HeadlessForm& form_;
  std::string name_;
  bool checked_;
};

class HeadlessEdit final : public Edit {
 public:
  HeadlessEdit(HeadlessForm& form, std::string name) : form_(form), name_(std::move(name)) {}
  void SetFocus() override;
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  void SetCueText(const std::string& text) override { cueText_ = text; }
  const std::string& CueText() const { return cueText_; }

 private:
  HeadlessForm& form_;
  std::string name_;
  std::string text_;
  std::string cueText_;
};

class HeadlessComboBox final : public ComboBox {
 public:
  HeadlessComboBox(HeadlessForm& form, std::string name) : form_(form), name_(std::move(name)) {}
  void SetFocus() override;  // runs onEnter when the focus moves here
  std::vector<std::string> Items() const override { return items_; }
  void SetItems(const std::vector<std::string>& items) override;
  void AddItem(const std::string& item) override { items_.push_back(item); }
  void RemoveItem(int index) override;
  int SelectedIndex() const override { return selected_; }
  void SetSelectedIndex(int index) override;
  int FindExact(const std::string& text) const override;
  void Choose(int index);  // as the user picks an entry: selects it and runs onChange

 private:
  HeadlessForm& form_;
  std::string name_;
  std::vector<std::string> items_;
  int selected_ = kNone;
};

class HeadlessForm final : public Form {
 public:
  HeadlessForm(HeadlessApplication& application, FormArgs args);
  ~HeadlessForm() override;

  Label* AddLabel(const std::string& name, const LabelArgs& args) override;
  PushButton* AddButton(const std::string& name, const ButtonArgs& args) override;
  CheckBox* AddCheckBox(const std::string& name, const CheckBoxArgs& args) override;
  Edit* AddEdit(const std::string& name, const EditArgs& args) override;
  ComboBox* AddComboBox(const std::string& name, const ComboBoxArgs& args) override;
  GroupBox* AddGroupBox(const std::string& name, const GroupBoxArgs& args) override;
  Control* AddProgramIcon(const std::string& name, const Bounds& bounds) override;

  void Show() override;
  void ShowModal() override;
  void Close() override;
  bool Visible() const override { return visible_; }
  NativeWindow Handle() const override { return const_cast<HeadlessForm*>(this); }

  // For tests.
  const FormArgs& Args() const { return args_; }
  const std::vector<HeadlessControlInfo>& Controls() const { return controls_; }
  const HeadlessControlInfo& Info(const std::string& name) const;
  template <typename T>
  T& Find(const std::string& name) {
    return dynamic_cast<T&>(*widgets_.at(IndexOf(name)));
  }
  // The keys as the user presses them with the focus where it is.
  void PressEnter();   // presses the focused button or link, else the default button
  void PressSpace();   // presses the focused button or link, or flips the focused check box
  void PressEscape();  // closes the window where Escape does
  void PressTab();     // moves the focus to the next stop, then the links, and round
  void PressF1();
  const std::string& FocusedControl() const { return focused_; }
  // Moves the focus; false when it was there already.
  bool SetFocusedControl(const std::string& name);
  HeadlessApplication& Application() { return application_; }

 private:
  template <typename T>
  T* Adopt(std::unique_ptr<T> widget, HeadlessControlInfo info);
  std::size_t IndexOf(const std::string& name) const;
  Control* FocusedWidget() const;
  std::string ParentName(const GroupBox* parent) const;

  HeadlessApplication& application_;
  FormArgs args_;
  std::vector<std::unique_ptr<Control>> widgets_;
  std::vector<HeadlessControlInfo> controls_;
  bool visible_ = false;
  std::string focused_;
};

class HeadlessApplication final : public Application {
 public:
  struct Message {
    bool isError = false;
    std::string text;  // as the box shows it
    bool isQuestion = false;
  };

  std::unique_ptr<Form> CreateForm(const FormArgs& args) override;
  void ShowMessage(const std::string& text) override;
  bool AskQuestion(const std::string& text) override;
  void ShowError(const std::string& message) override;
  // Shows the main window and returns: tests then act on the windows themselves.
  void Run(Form& mainForm) override;

  const std::vector<Message>& Messages() const { return messages_; }
  bool Ended() const { return ended_; }
  void EndProgram() { ended_ = true; }

  bool answerYes = false;  // how the user answers questions
  // Runs while a window is shown modally; what it leaves open is closed when it returns.
  std::function<void(HeadlessForm&)> onModal;

 private:
  std::vector<Message> messages_;
  bool ended_ = false;
};

}  // namespace trelik
