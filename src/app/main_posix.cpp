#include <cstdio>

#include "common/path_parts.h"
#include "creation/launcher_name.h"

// Until the windows exist, the program reports what it derives from its launcher argument.
int main(int argc, char** argv) {
  const char* launcherPath = argc > 1 ? argv[1] : "";
  const std::string projectName = trelik::ExtractProjectName(launcherPath, trelik::kPosixSeparators);
  std::printf("Trelik: launcher \"%s\", template \"%s\"\n", launcherPath, projectName.c_str());
  return 0;
}
