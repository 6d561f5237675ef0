#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace trelik {

// What reading a file gave: its bytes, or, when `failure` is set, the system's reason it could
// not be read, taken at the call that failed.
struct FileRead {
  std::string bytes;
  std::error_code failure;
};

// The most that Trelik reads of a file of its own (settings, lists, stores, desktop files): the
// file-type store of a million templates still fits, and a damaged file costs no more.
inline constexpr std::size_t kOwnFileLimit = std::size_t{256} << 20;

// Why a file that the system would read is not read as one of Trelik's own.
enum class FileDamage { kNotRegular = 1, kTooLarge };
std::error_code MakeErrorCode(FileDamage damage);

// Reads a whole file of Trelik's own, letting others read it meanwhile but not write. Anything
// but a regular file of at most kOwnFileLimit bytes (a folder, a pipe, a device) fails with a
// FileDamage, before anything of it is read.
FileRead ReadWholeFile(const std::string& path);

// Whether a failure to read says that nothing at all stands at the path.
bool IsMissingFile(const std::error_code& failure);

// At most the first `limit` bytes of a file.
FileRead ReadFileStart(const std::string& path, std::size_t limit);

// Why a file could not be replaced: the system's error, and whether it came while the new
// content was being written (the new file existed) or before or after that.
struct ReplaceFailure {
  std::error_code error;
  bool whileWriting = false;
};

// Writes `contents` to a temporary file beside `path`, flushes it to disk and moves it over
// `path`, so that a failure at any step leaves the old file whole. A missing folder is created.
// Nothing when the file was replaced.
std::optional<ReplaceFailure> ReplaceFileAtomically(const std::string& path,
                                                    std::string_view contents);

// The path made absolute against the current folder.
std::string AbsolutePath(const std::string& path);

}  // namespace trelik
