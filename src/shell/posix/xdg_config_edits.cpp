#include "shell/posix/xdg_config_edits.h"

#include <algorithm>
#include <iterator>

#include "common/path_parts.h"
#include "library/posix/user_dirs.h"

namespace trelik {
namespace {

constexpr std::string_view kDefaultsSection = "[Default Applications]";
constexpr std::string_view kTemplatesKey = "XDG_TEMPLATES_DIR";

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text.append(line).append("\n");
  return text;
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A "key=value" line split at its first '='; nullopt for other lines.
std::optional<std::pair<std::string_view, std::string_view>> KeyAndValue(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || Trimmed(line).starts_with('#')) return std::nullopt;
  return std::pair{Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

bool NamesOnly(std::string_view value, std::string_view desktopEntry) {
  if (value.ends_with(';')) value.remove_suffix(1);
  return value == desktopEntry;
}

bool IsTemplatesSetting(const std::string& line) {
  const auto entry = KeyAndValue(line);
  return entry && entry->first == kTemplatesKey;
}

}  // namespace

std::string EditDefaultApplications(std::string_view mimeappsList,
                                    const std::vector<std::string>& mimeTypes,
                                    std::string_view ownedPrefix, std::string_view desktopEntry) {
  std::vector<std::string> lines = SplitLines(mimeappsList);
  std::vector<std::string> missing = mimeTypes;
  std::optional<std::size_t> sectionEnd;  // after the section's last non-blank line
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size();) {
    const std::string_view line = Trimmed(lines[i]);
    if (line.starts_with('[')) {
      inSection = line == kDefaultsSection;
      if (inSection) sectionEnd = i + 1;
    } else if (inSection) {
      if (const auto entry = KeyAndValue(line)) {
        const std::string type(entry->first);
        const bool current = std::ranges::find(mimeTypes, type) != mimeTypes.end();
        if (!current && type.starts_with(ownedPrefix) && NamesOnly(entry->second, desktopEntry)) {
          lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
        std::erase(missing, type);
      }
      if (!line.empty()) sectionEnd = i + 1;
    }
    ++i;
  }
  if (missing.empty()) return JoinLines(lines);
  if (!sectionEnd) {
    if (!lines.empty() && !Trimmed(lines.back()).empty()) lines.emplace_back();
    lines.emplace_back(kDefaultsSection);
    sectionEnd = lines.size();
  }
  for (const auto& type : missing) {
    std::string line = type;
    line.append("=").append(desktopEntry);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>((*sectionEnd)++), line);
  }
  return JoinLines(lines);
}

TemplatesFolderSetting ReadTemplatesFolderSetting(std::string_view userDirs,
                                                  const std::string& home) {
  TemplatesFolderSetting setting;
  // The file is shell syntax: of several settings, the last one counts.
  const std::vector<std::string> lines = SplitLines(userDirs);
  const auto last = std::ranges::find_if(lines.rbegin(), lines.rend(), IsTemplatesSetting);
  if (last == lines.rend()) return setting;
  setting.line = *last;
  const auto folder = UserDirsFolder(*last, kTemplatesKey, home);
  if (!folder) return setting;
  const std::string trimmed = WithoutTrailingSeparators(*folder, kPosixSeparators);
  if (trimmed == WithoutTrailingSeparators(home, kPosixSeparators)) {
    setting.state = TemplatesFolderSetting::State::kTurnedOff;
  } else {
    setting.state = TemplatesFolderSetting::State::kSet;
    setting.folder = trimmed;
  }
  return setting;
}

std::string DefaultTemplatesSetting() {
  std::string setting(kTemplatesKey);
  return setting.append("=\"").append(kDefaultTemplatesFolder).append("\"");
}

std::string SetDefaultTemplatesFolder(std::string_view userDirs) {
  std::vector<std::string> lines = SplitLines(userDirs);
  const auto existing = std::ranges::find_if(lines.rbegin(), lines.rend(), IsTemplatesSetting);
  if (existing != lines.rend()) {
    *existing = DefaultTemplatesSetting();
  } else {
    lines.push_back(DefaultTemplatesSetting());
  }
  return JoinLines(lines);
}

std::optional<std::string> PutBackTemplatesFolder(std::string_view userDirs,
                                                  std::string_view formerLine) {
  std::vector<std::string> lines = SplitLines(userDirs);
  // Ours is the last such line, as SetDefaultTemplatesFolder replaced the last setting: the user
  // may have one like it before.
  const auto ours = std::ranges::find(lines.rbegin(), lines.rend(), DefaultTemplatesSetting());
  if (ours == lines.rend()) return std::nullopt;
  if (formerLine.empty()) {
    lines.erase(std::next(ours).base());
  } else {
    *ours = formerLine;
  }
  return JoinLines(lines);
}

}  // namespace trelik
