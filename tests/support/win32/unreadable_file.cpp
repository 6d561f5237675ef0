#include "support/unreadable_file.h"

#include <windows.h>

namespace trelik::testing {

UnreadableFile::UnreadableFile(const std::string& path)
    : path_(path),
      handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

UnreadableFile::~UnreadableFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  DeleteFileA(path_.c_str());
}

}  // namespace trelik::testing
