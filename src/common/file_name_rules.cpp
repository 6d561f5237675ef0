#include "common/file_name_rules.h"

namespace trelik {
namespace {

// Characters that Windows file names cannot hold besides the separators.
constexpr std::string_view kWindowsForbidden = "<>:\"/\\|?*";

bool IsWindows(const PathSeparators& separators) {
  return separators.delimiters == kWindowsSeparators.delimiters;
}

}  // namespace

std::optional<std::string> FileNameProblem(std::string_view name,
                                           const PathSeparators& separators) {
  if (name == "." || name == "..") {
    return std::string("\"").append(name).append("\" stands for a folder that exists already");
  }
  for (const char c : name) {
    const auto code = static_cast<unsigned char>(c);
    const bool forbidden = IsWindows(separators)
                               ? code < 32 || kWindowsForbidden.find(c) != std::string_view::npos
                               : c == '/' || c == '\0';
    if (forbidden) {
      if (code < 32) return "file names cannot hold control characters";
      return std::string("file names cannot hold \"").append(1, c).append("\"");
    }
  }
  return std::nullopt;
}

}  // namespace trelik
