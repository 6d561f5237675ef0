#include "common/path_parts.h"

namespace trelik {
namespace {

std::string_view::size_type LastDelimiter(std::string_view path,
                                          const PathSeparators& separators) {
  return path.find_last_of(separators.delimiters);
}

}  // namespace

std::string DirectoryPart(std::string_view path, const PathSeparators& separators) {
  const auto last = LastDelimiter(path, separators);
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string FileNamePart(std::string_view path, const PathSeparators& separators) {
  const auto last = LastDelimiter(path, separators);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string ExtensionPart(std::string_view path, const PathSeparators& separators) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  const auto last = LastDelimiter(path, separators);
  if (last != std::string_view::npos && last > dot) return {};
  return std::string(path.substr(dot));
}

}  // namespace trelik
