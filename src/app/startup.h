#pragma once

#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/about_unit.h"
#include "ui/program.h"

namespace trelik {

// The three windows in the order start-up creates them: the main window first (its creation
// handler fills the globals), then the editor and the about window, hidden. They are destroyed
// in the reverse order, and destroying a window never runs its close handler.
struct TrelikWindows {
  explicit TrelikWindows(Program& program) : Form1(program), Form2(program), about(program) {}

  TForm1 Form1;
  TForm2 Form2;
  Tabout about;
};

// Creates the windows, runs the message loop until the main window is closed, and takes the
// windows down again.
void RunTrelik(Program& program);

}  // namespace trelik
