#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/shell_operations.h"
#include "ui/layout_plan.h"

namespace trelik {

// The widget layer the three windows are built from. A window class declares its controls with
// the captions, positions (96 pixels per inch, scaled by the backend) and tab order of its
// design and binds their events to its handler methods. Backends: Win32, Qt, headless (tests).

class Control {
 public:
  virtual ~Control() = default;
  virtual void SetFocus() = 0;
  // A disabled control shows greyed, takes no focus and hears no click or key.
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

// A group box; controls created inside it are placed relative to it.
class GroupBox : public Control {};

// Plain text, or a link (hand cursor, link colour) that reacts to a single click, and to Enter
// or Space once the keyboard reached it.
class Label : public Control {
 public:
  virtual std::string Text() const = 0;
  // A label that describes a control gives that control's description the text too.
  virtual void SetText(const std::string& text) = 0;

  std::function<void()> onClick;
};

class PushButton : public Control {
 public:
  std::function<void()> onClick;
};

class CheckBox : public Control {
 public:
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

class Edit : public Control {
 public:
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  // The grey hint shown while the box is empty.
  virtual void SetCueText(const std::string& text) = 0;

  std::function<void()> onChange;  // the text changed, by typing or by SetText
};

// A drop-down list that allows no typing and keeps its entries in the order they were added,
// each byte for byte as given: names from the file system need not be valid text, and the
// native list shows them only as far as they decode.
// Opened, it is at least kDroppedRows entries high and as wide as its longest entry, within the
// screen; typing the first letters of an entry chooses it (TypeAheadIndex) as the user's choice.
class ComboBox : public Control {
 public:
  static constexpr int kNone = -1;
  static constexpr int kDroppedRows = 20;

  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);  // clears the selection
  void AddItem(const std::string& item);
  void RemoveItem(int index);             // clears the selection
  virtual int SelectedIndex() const = 0;  // kNone when nothing is selected
  virtual void SetSelectedIndex(int index) = 0;
  // The index of the entry equal to `text` regardless of letter case, or kNone.
  int FindExact(const std::string& text) const;

  std::function<void()> onEnter;   // the list received the input focus
  std::function<void()> onChange;  // the user chose an entry

 protected:
  // The native list's part: false when it refused the entry, which is then not kept.
  virtual bool AddNative(const std::string& item) = 0;
  virtual void RemoveNative(int index) = 0;
  virtual void ClearNative() = 0;

 private:
  std::vector<std::string> items_;
};

// The texts of buttons, check boxes and links mark their access key with '&' ("&Create"); Alt
// and that letter press the control wherever the focus is in its window.
struct LabelArgs {
  std::string text;
  Bounds bounds;
  bool bold = false;
  bool link = false;    // hand cursor and link colour
  std::string tooltip;  // shown whatever the window's own tooltip setting
  GroupBox* parent = nullptr;
  // The control whose description screen readers read from this label: one line, cut short
  // with an ellipsis where it does not fit.
  Control* describes = nullptr;
};

struct ButtonArgs {
  std::string text;
  Bounds bounds;
  int tabOrder = 0;
  bool isDefault = false;  // Enter presses it
  GroupBox* parent = nullptr;
};

struct CheckBoxArgs {
  std::string text;
  Bounds bounds;
  int tabOrder = 0;
  bool checked = false;
  GroupBox* parent = nullptr;
};

struct EditArgs {
  Bounds bounds;
  int tabOrder = 0;
  GroupBox* parent = nullptr;
  std::string accessibleName;  // what screen readers call a control that shows no caption
};

struct ComboBoxArgs {
  Bounds bounds;
  int tabOrder = 0;
  GroupBox* parent = nullptr;
  std::string accessibleName;
};

struct GroupBoxArgs {
  std::string text;
  Bounds bounds;
  int tabOrder = 0;
};

enum class FormBorder { kToolWindow, kDialog };
enum class FormColour { kButtonFace, kMenu };

struct FormArgs {
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  FormBorder border = FormBorder::kDialog;
  FormColour colour = FormColour::kButtonFace;
  bool isMainForm = false;    // closing it ends the program
  bool escapeCloses = false;  // Escape closes it as its close box does
};

// A control as its window declared it: what the layout plans, and what a backend needs to make
// its native control.
struct DeclaredControl {
  std::string name;  // for tests and screen readers
  PlannedControl planned;
  bool bold = false;
  bool isDefault = false;
  bool checked = false;
  std::string tooltip;
  std::string accessibleName;
  std::size_t describes = kNoGroup;           // the index of the control this label describes
  std::size_t accessKey = std::string::npos;  // its letter's place in the caption, if it has one

  // The caption as both toolkits take it: a button's, a check box's or a link's with its access
  // key marked, any other as it stands.
  std::string MarkedCaption() const;
};

// A top-level window, the portable form base: it keeps the controls the window declares, in
// declared order, with their names, groups and keyboard order; a backend makes each control's
// native widget, measures captions, wires events and shows the window.
class Form {
 public:
  virtual ~Form() = default;

  Label* AddLabel(const std::string& name, const LabelArgs& args);
  PushButton* AddButton(const std::string& name, const ButtonArgs& args);
  CheckBox* AddCheckBox(const std::string& name, const CheckBoxArgs& args);
  Edit* AddEdit(const std::string& name, const EditArgs& args);
  ComboBox* AddComboBox(const std::string& name, const ComboBoxArgs& args);
  GroupBox* AddGroupBox(const std::string& name, const GroupBoxArgs& args);
  // The program's icon, shown at the size of `bounds`.
  Control* AddProgramIcon(const std::string& name, const Bounds& bounds);

  // Shows a hidden window (centred the first time, where it was left afterwards) and runs
  // onShow; a window already shown is only brought to the front.
  virtual void Show() = 0;
  // Shows the window and lets the user use only it until it is closed.
  virtual void ShowModal() = 0;
  // Closes by any route: runs onClose, then ends the program for the main window, or hides the
  // window when onClose did not fail.
  virtual void Close() = 0;
  virtual bool Visible() const = 0;
  virtual NativeWindow Handle() const = 0;

  const std::vector<DeclaredControl>& Controls() const { return declared_; }
  const DeclaredControl& Info(const std::string& name) const { return declared_[IndexOf(name)]; }
  template <typename T>
  T& Find(const std::string& name) const {
    return dynamic_cast<T&>(*controls_[IndexOf(name)]);
  }

  std::function<void()> onShow;
  // Runs after each showing, from the event loop, once the window has been drawn: for work the
  // user need not wait for before seeing the window.
  std::function<void()> onShown;
  // Asked first whenever the window is to close, by any route: false keeps it open.
  std::function<bool()> onCloseQuery;
  std::function<void()> onClose;
  std::function<void()> onHelp;  // F1 was pressed in the window
  // Escape was pressed in the window; when set, it runs in place of closing by `escapeCloses`.
  std::function<void()> onEscape;

 protected:
  // Makes the native control of the declaration just added, the last of Controls().
  virtual std::unique_ptr<Control> Create(const DeclaredControl& declared) = 0;

  std::size_t IndexOf(const std::string& name) const;  // throws std::out_of_range
  std::size_t IndexOf(const Control* control) const;   // kNoGroup for none of this form's
  std::vector<PlannedControl> Planned() const;

 private:
  template <typename T, typename Args>
  T* Declare(ControlKind kind, const std::string& name, const Args& args);

  std::vector<DeclaredControl> declared_;
  std::vector<std::unique_ptr<Control>> controls_;  // each declaration's, at its index
};

// What the user answered to a question with three ways out.
enum class Answer { kYes, kNo, kCancel };

// The application: creates windows, shows the program's message boxes and runs the loop.
class Application {
 public:
  static constexpr const char* kTitle = "Trelik";

  virtual ~Application() = default;

  virtual std::unique_ptr<Form> CreateForm(const FormArgs& args) = 0;

  // A plain notice: caption "Trelik", no icon, one OK button. It belongs to `owner`: centred on
  // it and kept above it by the window manager (its transient parent), with no minimise or
  // maximise button. Without an owner, or with a hidden one, it belongs to the program's active
  // window, and is centred on the screen when there is none.
  virtual void ShowMessage(const Form* owner, const std::string& text) = 0;
  void ShowMessage(const std::string& text) { ShowMessage(nullptr, text); }
  // A question: caption "Trelik", question icon, Yes and No, No the default; true for Yes. It
  // belongs to `owner` as a notice does.
  virtual bool AskQuestion(const Form* owner, const std::string& text) = 0;
  bool AskQuestion(const std::string& text) { return AskQuestion(nullptr, text); }
  // A question the user may also step back from: caption "Trelik", question icon, Yes, No and
  // Cancel, Yes the default; Escape and the close box answer Cancel. It belongs to `owner` as a
  // notice does.
  virtual Answer AskYesNoCancel(const Form* owner, const std::string& text) = 0;
  // The error box: caption "Trelik", stop icon, one OK button; `message` as the error carries
  // it (the full stop rule is applied here). It belongs to the program's active window.
  virtual void ShowError(const std::string& message) = 0;

  // Shows the main window and dispatches events until it is closed.
  virtual void Run(Form& mainForm) = 0;

  // Runs an event handler; an error that leaves it is shown in the error box and the program
  // goes on. Returns false when the handler failed. Every backend calls handlers through this.
  bool Dispatch(const std::function<void()>& handler);
  // Whether `form` may close now: its onCloseQuery, run through Dispatch, neither said no nor
  // failed. Every backend asks this before it closes a form.
  bool MayClose(const Form& form);
};

}  // namespace trelik
