#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace trelik {

// A file claimed by this process for as long as the object lives, so that two windows opened on
// the same launcher cannot both act on it: a second claim, from any process, is refused while
// the first is held. The file itself can still be read and deleted by its holder meanwhile.
class FileClaim {
 public:
  explicit FileClaim(const std::string& path);
  ~FileClaim();
  FileClaim(const FileClaim&) = delete;
  FileClaim& operator=(const FileClaim&) = delete;

  // Nothing while the claim is held; std::errc::device_or_resource_busy when another claim holds
  // the file; else why it could not be opened (NamesNothing when it is not there, as when its
  // holder deleted it meanwhile).
  const std::error_code& Failure() const { return failure_; }

 private:
  std::intptr_t handle_ = -1;
  std::error_code failure_;
};

}  // namespace trelik
