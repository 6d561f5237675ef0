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

  Control* Image1;      // the program's icon
  Label* Label1;        // "Trelik 1.0"
  Label* Label2;        // the maker's site
  Label* Label3;        // "Set up Projects from New"
  PushButton* Button1;  // "Close"

 private:
  ProgramActions& actions_;
  std::unique_ptr<Form> form_;
};

}  // namespace trelik
