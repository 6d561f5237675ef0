#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/program.h"
#include "ui/program_actions.h"
#include "ui/widgets.h"

namespace trelik {

// The main window: asks for the new project's name and whether its main file is opened
// afterwards; closing it by any route creates the project and ends the program.
class TForm1 {
 public:
  TForm1(Program& program, ProgramActions& actions);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  Form& Window() { return *form_; }

  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
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

 private:
  Program& program_;
  ProgramActions& actions_;
  std::unique_ptr<Form> form_;
};

}  // namespace trelik
