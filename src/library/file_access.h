#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trelik {

// Reads a whole file, letting others read it meanwhile but not write. On failure: nullopt, and
// `systemError` holds the system's description of why.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& systemError);

// At most the first `limit` bytes of a file; on failure nullopt, and `systemError` says why.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit,
                                         std::string& systemError);

enum class ReplaceOutcome { kReplaced, kCannotCreate, kShortWrite };

// Writes `contents` to a temporary file beside `path`, flushes it to disk and moves it over
// `path`, so that a failure at any step leaves the old file whole. A missing folder is created.
// On failure `systemError` holds the system's description of why.
ReplaceOutcome ReplaceFileAtomically(const std::string& path, std::string_view contents,
                                     std::string& systemError);

// The path made absolute against the current folder.
std::string AbsolutePath(const std::string& path);

}  // namespace trelik
