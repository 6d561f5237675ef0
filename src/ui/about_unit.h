#pragma once

#include <memory>

#include "ui/program.h"
#include "ui/program_actions.h"
#include "ui/widgets.h"

namespace trelik {

// The about window, shown modally from the main window.
class Tabout {
 public:
  Tabout(Program& program, ProgramActions& actions);
  Tabout(const Tabout&) = delete;
  Tabout& operator=(const Tabout&) = delete;

  Form& Window() { return *form_; }

  void Label2Click();
  void Button1Click();

  Control* Image1;
  Label* Label1;
  Label* Label2;
  Label* Label3;
  PushButton* Button1;

 private:
  ProgramActions& actions_;
  std::unique_ptr<Form> form_;
};

}  // namespace trelik
