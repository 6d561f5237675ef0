// Copies a folder into another with the Linux shell operations, as Trelik copies a template:
// the figure to hold against `cp -r`. Usage: folder_copy SOURCE DESTINATION_FOLDER
#include <cstdio>
#include <string>

#include "shell/posix/posix_shell_operations.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: folder_copy SOURCE DESTINATION_FOLDER\n");
    return 2;
  }
  trelik::PosixShellOperations shell(nullptr, nullptr, nullptr);
  const trelik::CopyResult result = shell.CopyFolder(nullptr, argv[1], std::string(argv[2]) + "/");
  if (!result.arrivedAt) {
    std::fprintf(stderr, "folder_copy: %s\n", result.failure.c_str());
    return 1;
  }
  return 0;
}
