#include "app/startup.h"

namespace trelik {

void RunTrelik(Program& program) {
  TrelikWindows windows(program);
  program.application.Run(windows.Form1.Window());
}

}  // namespace trelik
