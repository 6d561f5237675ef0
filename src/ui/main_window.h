#pragma once

#include <memory>
#include <optional>
#include <string>

#include "creation/creation_plan.h"
#include "creation/project_creation.h"
#include "ui/program.h"
#include "ui/program_actions.h"
#include "ui/widgets.h"

namespace trelik {

// The main window: asks for the new project's name and whether its main file is opened
// afterwards, and says below the name what Create will make of it; closing it creates the
// project and ends the program, except by Escape, which leaves the launcher for another try.
class TForm1 {
 public:
  TForm1(Program& program, ProgramActions& actions);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  Form& Window() { return *form_; }

  void FormCreate();
  void RegisterOwnType();
  void CopyAhead();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void FormEscape();
  void Edit1Change();
  void Button1Click();
  void Label1Click();
  void Label2Click();
  void Label3Click();
  void Label4Click();

  Label* Label1;        // "Options"
  Label* Label2;        // "Check Version"
  Label* Label3;        // "About"
  Label* Label4;        // "Help"
  PushButton* Button1;  // "Create"
  CheckBox* CheckBox1;  // "Auto Open the Project"
  Edit* Edit1;          // the name of the new project
  Label* Label5;        // the hint: what Create will make of the typed name

 private:
  CreationServices Services();

  Program& program_;
  ProgramActions& actions_;
  std::unique_ptr<Form> form_;
  // What the creation is planned from, read as the window opens; none without a launcher.
  std::optional<PlanInput> planInput_;
  bool leaving_ = false;  // Escape: the window closes without creating anything
};

}  // namespace trelik
