#pragma once

#include <string>

namespace trelik::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes out of scope.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in the platform's separator.
  const std::string& Path() const { return path_; }

  // Path() + name.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace trelik::testing
