#pragma once

namespace trelik::testing {

// For the life of the object, this process's renames and links behave as on a file system that
// knows neither RENAME_NOREPLACE nor hard links (exFAT through FUSE, some network shares):
// renameat2 with flags fails with EINVAL, link and linkat with EPERM. POSIX only.
class LinklessFileSystem {
 public:
  LinklessFileSystem();
  ~LinklessFileSystem();
  LinklessFileSystem(const LinklessFileSystem&) = delete;
  LinklessFileSystem& operator=(const LinklessFileSystem&) = delete;
};

}  // namespace trelik::testing
