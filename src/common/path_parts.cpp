#include "common/path_parts.h"

namespace trelik {
namespace {

std::string_view::size_type LastDelimiter(std::string_view path, const PathSeparators& separators) {
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

std::string WithoutTrailingSeparators(std::string_view path, const PathSeparators& separators) {
  const auto last = path.find_last_not_of(separators.trailing);
  if (last != std::string_view::npos) return std::string(path.substr(0, last + 1));
  const bool isRoot =
      !path.empty() && separators.delimiters.find(path.front()) != std::string_view::npos;
  return isRoot ? std::string(1, path.front()) : std::string();
}

std::string LastComponent(std::string_view path, const PathSeparators& separators) {
  return FileNamePart(WithoutTrailingSeparators(path, separators), separators);
}

std::string AsFolder(std::string_view folder, const PathSeparators& separators) {
  std::string result(folder);
  const bool endsInSeparator =
      !folder.empty() && (separators.delimiters.find(folder.back()) != std::string_view::npos ||
                          separators.trailing.find(folder.back()) != std::string_view::npos);
  if (!folder.empty() && !endsInSeparator) result.push_back(separators.joiner);
  return result;
}

std::string JoinPath(std::string_view folder, std::string_view name,
                     const PathSeparators& separators) {
  return AsFolder(folder, separators).append(name);
}

}  // namespace trelik
