#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "support/fake_shell.h"
#include "support/temp_folder.h"
#include "ui/widgets.h"

namespace trelik::testing {

enum class Key { kEnter, kEscape, kSpace, kTab, kDown, kF1, kF4 };

// A widget backend under test, and a user's hands on its windows.
class WidgetDriver {
 public:
  virtual ~WidgetDriver() = default;
  virtual Application& App() = 0;
  // Shows the form and waits until it has the keyboard.
  virtual void ShowActive(Form& form) = 0;
  // Puts the keyboard focus on the named control and presses the key there, as a user does.
  virtual void Press(Form& form, const std::string& control, Key key) = 0;
  // Presses the key wherever the focus is.
  virtual void Press(Form& form, Key key) = 0;
  // Puts the focus on the named control and presses Alt with the letter; returns once what the
  // key pressed has run.
  virtual void PressAccessKey(Form& form, const std::string& control, char letter) = 0;
  virtual bool HasFocus(Form& form, const std::string& control) = 0;
  // Types into the control that has the focus, in quick succession after a pause.
  virtual void Type(Form& form, const std::string& text) = 0;
  // Whether the program is ending, its main window closed.
  virtual bool Ended(Form& mainForm) = 0;
  // What the user sees of the named drop-down list opened: nullopt when nothing is drawn.
  struct DroppedList {
    int rows = 0;               // the entries shown whole at once
    bool longestWhole = false;  // whether its longest entry shows whole
  };
  virtual std::optional<DroppedList> Drop(Form& form, const std::string& control) = 0;
  // What screen readers read as the control's description.
  virtual std::string Description(Form& form, const std::string& control) = 0;
  // Lets the windows handle what is queued for them until `done` holds; a bounded wait.
  virtual bool RunUntil(const std::function<bool()>& done) = 0;
  // Runs `step` once from within the modal loop of `form`, once it has the keyboard.
  virtual void WhenActive(Form& form, std::function<void()> step) = 0;
  // Runs `act`, answering each message box it shows with its default button; their texts.
  std::vector<std::string> AnsweringBoxes(const std::function<void()>& act) {
    return Answering({}, act);
  }
  // The same, pressing `answers` on the boxes in turn, then the default buttons.
  virtual std::vector<std::string> Answering(const std::vector<Answer>& answers,
                                             const std::function<void()>& act) = 0;

  // The window each box that Answering answered belongs to: its transient parent, shown as
  // a dialog with neither minimise nor maximise; null for a box that is none of that.
  std::vector<NativeWindow> boxOwners;
};

struct WidgetBackend {
  std::string name;
  std::function<std::unique_ptr<WidgetDriver>()> open;
};

// The behaviour every backend owes the windows, checked through the widget interface.
class WidgetConformance : public ::testing::TestWithParam<WidgetBackend> {
 protected:
  void SetUp() override { driver_ = GetParam().open(); }

  Form& MakeForm(const FormArgs& args);
  // The editor's shape: three buttons, then a group box whose controls follow it, an edit box
  // after the group, and two links declared out of reading order. Buttons and links record
  // their presses in `pressed_`.
  Form& MakeEditorLikeForm();
  // The one of `names` that has the focus, "?" when none.
  std::string Focused(Form& form, const std::vector<std::string>& names);

  std::unique_ptr<WidgetDriver> driver_;
  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<std::string> pressed_;
  ComboBox* templates_ = nullptr;
  ComboBox* files_ = nullptr;
};

// The program's own windows on a backend, with the fake shell and a memory registry, in a data
// folder holding the template "Web".
class ProgramStories : public WidgetConformance {
 protected:
  ProgramStories();
  ~ProgramStories() override;
  void Start(const std::string& launcher);
  Form& Main() { return windows_->Form1.Window(); }
  Form& Editor() { return windows_->Form2().Window(); }
  Form& About() { return windows_->about().Window(); }

  TempFolder root_;
  std::string dataFolder_;
  std::string projects_;
  FakeShell shell_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TrelikWindows> windows_;
};

inline void PrintTo(const WidgetBackend& backend, std::ostream* out) { *out << backend.name; }

inline std::string BackendName(const ::testing::TestParamInfo<WidgetBackend>& info) {
  return info.param.name;
}

}  // namespace trelik::testing
