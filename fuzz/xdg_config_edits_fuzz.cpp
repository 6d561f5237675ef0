// Trelik's edits of the user's mimeapps.list and user-dirs.dirs: every line of the user's stays
// byte for byte, in its order, but for the lines that are Trelik's to take back; the edit gives
// each of our types a default, changes nothing when made again, and is taken back by the edit
// that removes our types; setting the templates folder and putting the former setting back gives
// the user's file again.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf8.h"
#include "fuzz_check.h"
#include "shell/posix/xdg_config_edits.h"

namespace {

constexpr std::string_view kPrefix = "application/x-trelik";
constexpr std::string_view kEntry = "trelik.desktop";
constexpr std::string_view kSection = "[Default Applications]";
constexpr std::string_view kHome = "/home/u";

// The lines of a text file, as a reader that takes "\n" for the line end sees them.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text.append(line).append("\n");
  return text;
}

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool Contains(const std::vector<std::string>& types, std::string_view type) {
  return std::ranges::find(types, type) != types.end();
}

// A line that names our desktop entry as the default of a type of ours not among `types`.
bool TakenBack(std::string_view line, const std::vector<std::string>& types) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || Trim(line).starts_with('#')) return false;
  const std::string_view type = Trim(line.substr(0, equals));
  const std::string_view entry = Trim(line.substr(equals + 1));
  return type.starts_with(kPrefix) && !Contains(types, type) &&
         (entry == kEntry || entry == std::string(kEntry) + ";");
}

// A line that the edit may add: a blank one and the section before a section it adds.
bool Added(std::string_view line, const std::vector<std::string>& types) {
  const std::size_t equals = line.find('=');
  return line.empty() || line == kSection ||
         (equals != std::string_view::npos && line.substr(equals + 1) == kEntry &&
          Contains(types, line.substr(0, equals)));
}

// The lines of `before` but those in a [Default Applications] section that TakenBack names stand
// in `after` in their order, between lines that the edit may add.
void CheckUserLinesKept(const std::vector<std::string>& before,
                        const std::vector<std::string>& after,
                        const std::vector<std::string>& types) {
  std::vector<std::string> kept;
  bool inSection = false;
  for (const auto& line : before) {
    if (Trim(line).starts_with('[')) inSection = Trim(line) == kSection;
    if (!inSection || !TakenBack(line, types)) kept.push_back(line);
  }
  std::size_t k = 0;
  for (const auto& line : after) {
    if (k < kept.size() && line == kept[k]) {
      ++k;
    } else {
      FUZZ_CHECK(Added(line, types));
    }
  }
  FUZZ_CHECK(k == kept.size());
}

// Each of `types` has a line in a [Default Applications] section.
void CheckDefaultsGiven(const std::vector<std::string>& lines,
                        const std::vector<std::string>& types) {
  std::vector<std::string> given;
  bool inSection = false;
  for (const auto& line : lines) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.starts_with('[')) inSection = trimmed == kSection;
    const std::size_t equals = line.find('=');
    if (inSection && equals != std::string::npos && !trimmed.starts_with('#')) {
      given.emplace_back(Trim(std::string_view(line).substr(0, equals)));
    }
  }
  for (const auto& type : types) FUZZ_CHECK(Contains(given, type));
}

void CheckDefaultApplications(const std::string& text, const std::vector<std::string>& types) {
  const auto edit = [](std::string_view list, const std::vector<std::string>& ours) {
    return trelik::EditDefaultApplications(list, ours, kPrefix, kEntry);
  };
  const std::string edited = edit(text, types);
  CheckUserLinesKept(Lines(text), Lines(edited), types);
  CheckDefaultsGiven(Lines(edited), types);
  if (trelik::IsUtf8(text)) FUZZ_CHECK(trelik::IsUtf8(edited));
  FUZZ_CHECK(edit(edited, types) == edited);
  const bool hadSection = std::ranges::any_of(
      Lines(text), [](const std::string& line) { return Trim(line) == kSection; });
  if (hadSection) FUZZ_CHECK(edit(edited, {}) == edit(text, {}));
}

void CheckTemplatesFolder(const std::string& text) {
  using State = trelik::TemplatesFolderSetting::State;
  const std::string home(kHome);
  const auto before = trelik::ReadTemplatesFolderSetting(text, home);
  if (before.state == State::kSet) FUZZ_CHECK(before.folder.starts_with('/'));

  const std::string set = trelik::SetDefaultTemplatesFolder(text);
  const auto after = trelik::ReadTemplatesFolderSetting(set, home);
  FUZZ_CHECK(after.state == State::kSet && after.folder == home + "/Templates");
  FUZZ_CHECK(trelik::SetDefaultTemplatesFolder(set) == set);
  // One line changed, the setting that counted, or one added when there was none.
  std::vector<std::string> expected = Lines(text);
  if (before.line.empty()) {
    expected.push_back(trelik::DefaultTemplatesSetting());
  } else {
    const auto last = std::ranges::find(expected.rbegin(), expected.rend(), before.line);
    FUZZ_CHECK(last != expected.rend());
    *last = trelik::DefaultTemplatesSetting();
  }
  FUZZ_CHECK(Lines(set) == expected);

  // Trelik sets the folder only when the user has none, and puts the former line back later.
  if (before.state != State::kUnset) return;
  const auto restored = trelik::PutBackTemplatesFolder(set, before.line);
  FUZZ_CHECK(restored && *restored == Text(Lines(text)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  std::vector<std::string> types;
  for (int count = provider.ConsumeIntegralInRange(0, 3); count > 0; --count) {
    std::string type = std::string(kPrefix) + provider.ConsumeRandomLengthString(8);
    // MIME type names as ours are made: a lowercase slug.
    if (type.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789/.+-") == std::string::npos &&
        !Contains(types, type)) {
      types.push_back(std::move(type));
    }
  }
  const std::string text = provider.ConsumeRemainingBytesAsString();
  CheckDefaultApplications(text, types);
  CheckTemplatesFolder(text);
  return 0;
}
