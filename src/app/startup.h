#pragma once

#include <functional>

#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/program.h"
#include "ui/program_actions.h"
#include "ui/template_editor.h"

namespace trelik {

// The three windows in the order start-up creates them: the main window first (its creation
// handler fills the globals), then the editor and the about window, hidden. They are destroyed
// in the reverse order, and destroying a window never runs its close handler.
struct TrelikWindows {
  explicit TrelikWindows(Program& program)
      : actions(program),
        Form1(program, actions),
        Form2(program, actions),
        about(program, actions) {}

  ProgramActions actions;
  TForm1 Form1;
  TForm2 Form2;
  Tabout about;
};

// Creates the windows, runs the message loop until the main window (the editor, when the program
// was started for it alone) is closed, and takes the windows down again. `whenShown` runs once,
// after the window's own work, once its first showing has been drawn: for start-up work the user
// need not wait for.
void RunTrelik(Program& program, const std::function<void()>& whenShown = {});

}  // namespace trelik
