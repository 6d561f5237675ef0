#include "app/startup.h"

#include <utility>

namespace trelik {

void RunTrelik(Program& program, const std::function<void()>& whenShown) {
  TrelikWindows windows(program);
  Form& first = program.editorOnly ? windows.Form2.Window() : windows.Form1.Window();
  if (whenShown) {
    first.onShown = [own = first.onShown, whenShown, pending = true]() mutable {
      if (own) own();
      if (std::exchange(pending, false)) whenShown();
    };
  }
  program.application.Run(first);
}

}  // namespace trelik
