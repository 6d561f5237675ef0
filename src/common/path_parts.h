#pragma once

#include <string>
#include <string_view>

namespace trelik {

// The characters that end a directory part: backslash and colon on Windows, slash on Linux.
struct PathSeparators {
  std::string_view delimiters;  // every character that ends a directory part
  char joiner;                  // the separator written between a folder and a name
  std::string_view trailing;    // the separators a folder path may end in (Windows takes '/')
};

inline constexpr PathSeparators kWindowsSeparators{"\\:", '\\', "\\/"};
inline constexpr PathSeparators kPosixSeparators{"/", '/', "/"};

// The separators of the platform this program was built for.
const PathSeparators& PlatformSeparators();

// Everything up to and including the last delimiter; empty when there is none.
std::string DirectoryPart(std::string_view path, const PathSeparators& separators);

// Everything after the last delimiter; the whole path when there is none.
std::string FileNamePart(std::string_view path, const PathSeparators& separators);

// From the last dot to the end, dot included, unless a delimiter follows that dot.
std::string ExtensionPart(std::string_view path, const PathSeparators& separators);

// The path without the separators it ends in; a root ("/", "\\") stays as it is.
std::string WithoutTrailingSeparators(std::string_view path, const PathSeparators& separators);

// The name of the entry the path names, whether or not it ends in separators.
std::string LastComponent(std::string_view path, const PathSeparators& separators);

// `folder` ready for a name to be appended: a separator is added unless it is empty or ends
// in one already.
std::string AsFolder(std::string_view folder, const PathSeparators& separators);

// `name` inside `folder`, with one separator between them; just `name` when `folder` is empty.
std::string JoinPath(std::string_view folder, std::string_view name,
                     const PathSeparators& separators);

}  // namespace trelik
