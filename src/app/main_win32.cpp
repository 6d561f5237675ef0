#include <windows.h>

#include <cstdio>

#include "common/path_parts.h"
#include "creation/command_line.h"
#include "creation/launcher_name.h"

// Until the windows exist, the program reports what it derives from its launcher argument.
int main() {
  const std::string launcherPath = trelik::LauncherPathFromCommandLine(GetCommandLineA());
  const std::string projectName =
      trelik::ExtractProjectName(launcherPath, trelik::kWindowsSeparators);
  std::printf("Trelik: launcher \"%s\", template \"%s\"\n", launcherPath.c_str(),
              projectName.c_str());
  return 0;
}
