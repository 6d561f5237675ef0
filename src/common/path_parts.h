#pragma once

#include <string>
#include <string_view>

namespace trelik {

// The characters that end a directory part: backslash and colon on Windows, slash on Linux.
struct PathSeparators {
  std::string_view delimiters;  // every character that ends a directory part
  char joiner;                  // the separator written between a folder and a name
};

inline constexpr PathSeparators kWindowsSeparators{"\\:", '\\'};
inline constexpr PathSeparators kPosixSeparators{"/", '/'};

// The separators of the platform this program was built for.
const PathSeparators& PlatformSeparators();

// Everything up to and including the last delimiter; empty when there is none.
std::string DirectoryPart(std::string_view path, const PathSeparators& separators);

// Everything after the last delimiter; the whole path when there is none.
std::string FileNamePart(std::string_view path, const PathSeparators& separators);

// From the last dot to the end, dot included, unless a delimiter follows that dot.
std::string ExtensionPart(std::string_view path, const PathSeparators& separators);

}  // namespace trelik
