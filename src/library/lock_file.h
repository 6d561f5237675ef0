#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace trelik {

// What the system offers a lock file kept in a folder that several computers may share: files
// made only where none stands, their age, and who this process is.

// Makes the file `path` with `contents`; std::errc::file_exists when anything stands there.
std::error_code CreateNewFile(const std::string& path, std::string_view contents);

// How long ago the file was last written; nullopt when that cannot be told.
std::optional<std::chrono::seconds> FileAge(const std::string& path);

std::string ThisMachine();
std::uint64_t ThisProcess();
// Whether a process of this computer with that id still runs.
bool IsProcessRunning(std::uint64_t process);

// Whether files can be made in a folder, as trying would tell.
enum class FolderAccess { kWritable, kReadOnly, kMissing };
FolderAccess WriteAccess(const std::string& folder);

}  // namespace trelik
