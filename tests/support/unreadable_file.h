#pragma once

#include <string>

namespace trelik::testing {

// Makes `path` a file that exists but cannot be read, even by root, for as long as the object
// lives: on Linux a link to the process's memory, whose start cannot be read; on Windows a file
// held open without sharing.
class UnreadableFile {
 public:
  explicit UnreadableFile(const std::string& path);
  ~UnreadableFile();
  UnreadableFile(const UnreadableFile&) = delete;
  UnreadableFile& operator=(const UnreadableFile&) = delete;

 private:
  std::string path_;
  void* handle_ = nullptr;
};

}  // namespace trelik::testing
