// Copies a folder into another with the platform's shell operations, as Trelik copies a
// template: the figure to hold against `cp -r`. Usage: folder_copy SOURCE DESTINATION_FOLDER
#include <cstdio>
#include <string>

#include "common/path_parts.h"
#include "shell_factory.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: folder_copy SOURCE DESTINATION_FOLDER\n");
    return 2;
  }
  const auto shell = trelik::bench::MakePlatformShell();
  const trelik::CopyResult result =
      shell->CopyFolder(nullptr, argv[1], trelik::AsFolder(argv[2], trelik::PlatformSeparators()));
  if (!result.arrivedAt) {
    std::fprintf(stderr, "folder_copy: %s\n", result.failure.c_str());
    return 1;
  }
  return 0;
}
