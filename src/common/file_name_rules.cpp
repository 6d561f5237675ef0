#include "common/file_name_rules.h"

namespace trelik {
namespace {

// Characters that Windows file names cannot hold besides the separators.
constexpr std::string_view kWindowsForbidden = "<>:\"/\\|?*";

bool IsWindows(const PathSeparators& separators) {
  return separators.delimiters == kWindowsSeparators.delimiters;
}

// Line breaks and tabs in a name are never meant, and they break every list the name shows in.
bool IsControl(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 32 || code == 127;
}

}  // namespace

std::optional<std::string> FileNameProblem(std::string_view name,
                                           const PathSeparators& separators) {
  if (name == "." || name == "..") {
    return std::string("\"").append(name).append("\" stands for a folder that exists already");
  }
  const bool windows = IsWindows(separators);
  for (const char c : name) {
    if (IsControl(c)) return "file names cannot hold control characters";
    const bool forbidden = windows ? kWindowsForbidden.find(c) != std::string_view::npos : c == '/';
    if (forbidden) return std::string("file names cannot hold \"").append(1, c).append("\"");
  }
  // Windows drops a final dot or blank, so the entry would get another name than the one asked.
  if (windows && !name.empty() && (name.back() == '.' || name.back() == ' ')) {
    return "file names cannot end in a dot or a blank";
  }
  return std::nullopt;
}

}  // namespace trelik
