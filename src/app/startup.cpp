#include "app/startup.h"

namespace trelik {

void RunTrelik(Program& program) {
  TrelikWindows windows(program);
  program.application.Run(program.editorOnly ? windows.Form2.Window() : windows.Form1.Window());
}

}  // namespace trelik
