#include "common/file_name_rules.h"

#include <algorithm>
#include <span>

#include "common/ascii_case.h"
#include "common/letter_case.h"

namespace trelik {
namespace {

// Characters that Windows file names cannot hold besides the separators.
constexpr std::string_view kWindowsForbidden = "<>:\"/\\|?*";

// Windows takes these for devices in every folder, whatever the case and the extension.
constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL"};
constexpr std::string_view kNumberedDevices[] = {"COM", "LPT"};  // followed by 1 to 9

bool IsWindows(const PathSeparators& separators) {
  return separators.delimiters == kWindowsSeparators.delimiters;
}

// Line breaks and tabs in a name are never meant, and they break every list the name shows in.
bool IsControl(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 32 || code == 127;
}

// The part before the first dot names the device; Windows drops the blanks before that dot.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (stem.ends_with(' ')) stem.remove_suffix(1);
  std::span<const std::string_view> devices = kDevices;
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
    stem.remove_suffix(1);
    devices = kNumberedDevices;
  }
  return std::ranges::any_of(
      devices, [stem](std::string_view device) { return EqualIgnoringAsciiCase(stem, device); });
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
  if (windows && IsDeviceName(name)) {
    return std::string("\"").append(name.substr(0, name.find('.'))).append("\" names a device");
  }
  return std::nullopt;
}

bool SameFileName(std::string_view a, std::string_view b, const PathSeparators& separators) {
  return IsWindows(separators) ? EqualIgnoringCase(a, b) : a == b;
}

}  // namespace trelik
