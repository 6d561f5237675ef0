#include "app/startup.h"

#include <utility>

namespace trelik {

TrelikWindows::TrelikWindows(Program& program)
    : actions(program), Form1(program, actions), program_(program) {
  program_.Form2 = [this]() -> TForm2& { return Form2(); };
  program_.about = [this]() -> Tabout& { return about(); };
}

TrelikWindows::~TrelikWindows() {
  // The program outlives its windows: none may be made again once they are gone.
  program_.Form2 = nullptr;
  program_.about = nullptr;
}

TForm2& TrelikWindows::Form2() {
  if (!form2_) form2_.emplace(program_, actions);
  return *form2_;
}

Tabout& TrelikWindows::about() {
  if (!about_) about_.emplace(program_, actions);
  return *about_;
}

void RunTrelik(Program& program, const std::function<void()>& whenShown) {
  TrelikWindows windows(program);
  Form& first = program.editorOnly ? windows.Form2().Window() : windows.Form1.Window();
  if (whenShown) {
    first.onShown = [own = first.onShown, whenShown, pending = true]() mutable {
      if (own) own();
      if (std::exchange(pending, false)) whenShown();
    };
  }
  program.application.Run(first);
}

}  // namespace trelik
