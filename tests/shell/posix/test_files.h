#pragma once

#include <sys/stat.h>

#include <set>
#include <string>

namespace trelik::testing {

// Small file-system steps for setting up and checking real folders in the Linux shell tests.

void MakeFolder(const std::string& path, mode_t mode = 0755);
void MakeFile(const std::string& path, const std::string& bytes, mode_t mode = 0644);
void MakeLink(const std::string& path, const std::string& target);
// Sets the access and modification times of the entry itself (a link, not what it names).
void SetTimes(const std::string& path, long seconds, long nanoseconds);

// The entry itself, links not followed; fails the test when it is missing.
struct stat Examine(const std::string& path);

// Every path below `folder`, relative to it, at any depth, links not followed.
std::set<std::string> TreeEntries(const std::string& folder);

}  // namespace trelik::testing
