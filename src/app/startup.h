#pragma once

#include <functional>
#include <optional>

#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/program.h"
#include "ui/program_actions.h"
#include "ui/template_editor.h"

namespace trelik {

// The program's windows: the main window at once (its creation handler fills the globals), the
// editor and the about window hidden, each made at its first use, since most starts show
// neither and each costs a native window. The about window goes first and the main window last,
// and destroying a window never runs its close handler.
class TrelikWindows {
 public:
  explicit TrelikWindows(Program& program);
  ~TrelikWindows();
  TrelikWindows(const TrelikWindows&) = delete;
  TrelikWindows& operator=(const TrelikWindows&) = delete;

  TForm2& Form2();
  Tabout& about();

  ProgramActions actions;
  TForm1 Form1;

 private:
  Program& program_;
  std::optional<TForm2> form2_;
  std::optional<Tabout> about_;
};

// Creates the windows, runs the message loop until the main window (the editor, when the program
// was started for it alone) is closed, and takes the windows down again. `whenShown` runs once,
// after the window's own work, once its first showing has been drawn: for start-up work the user
// need not wait for.
void RunTrelik(Program& program, const std::function<void()>& whenShown = {});

}  // namespace trelik
