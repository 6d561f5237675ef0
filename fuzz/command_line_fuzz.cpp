// The Windows command line: items keep the line's characters in order and drop only quotes and
// separators, and a quoted program path and launcher path come back whole.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "creation/command_line.h"
#include "fuzz_check.h"

namespace {

bool IsSeparator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// The items, end to end, are the line without some of its quotes and separators: nothing else
// is dropped, added or moved.
bool OnlyQuotesAndSeparatorsDropped(std::string_view line, const std::vector<std::string>& items) {
  const auto droppable = [](char c) { return c == '"' || IsSeparator(c); };
  std::size_t pos = 0;
  for (const std::string& item : items) {
    for (const char c : item) {
      while (pos < line.size() && line[pos] != c && droppable(line[pos])) ++pos;
      if (pos == line.size() || line[pos] != c) return false;
      ++pos;
    }
  }
  for (; pos < line.size(); ++pos) {
    if (!droppable(line[pos])) return false;
  }
  return true;
}

// Without quotes, the items are simply the runs of non-separators.
std::vector<std::string> RunsOfNonSeparators(std::string_view line) {
  std::vector<std::string> runs;
  std::string run;
  for (const char c : line) {
    if (!IsSeparator(c)) {
      run += c;
    } else if (!run.empty()) {
      runs.push_back(run);
      run.clear();
    }
  }
  if (!run.empty()) runs.push_back(run);
  return runs;
}

// A program path or launcher path as the shell passes it: no quote, no NUL, not empty.
bool Quotable(std::string_view path) {
  return !path.empty() && path.find_first_of(std::string_view("\"\0", 2)) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> items = trelik::SplitCommandLine(line);

  line = line.substr(0, line.find('\0'));
  for (const std::string& item : items) FUZZ_CHECK(item.find('"') == std::string::npos);
  if (line.find('"') == std::string_view::npos) {
    FUZZ_CHECK(items == RunsOfNonSeparators(line));
  } else {
    FUZZ_CHECK(OnlyQuotesAndSeparatorsDropped(line, items));
  }

  // The open command the file type registers: "program" "launcher".
  FuzzedDataProvider provider(data, size);
  const std::string program = provider.ConsumeRandomLengthString();
  const std::string launcher = provider.ConsumeRemainingBytesAsString();
  if (Quotable(program) && Quotable(launcher)) {
    const std::string command = "\"" + program + "\" \"" + launcher + "\"";
    FUZZ_CHECK(trelik::LauncherPathFromCommandLine(command) == launcher);
    FUZZ_CHECK(trelik::SplitCommandLine(command) == std::vector<std::string>({program, launcher}));
  }
  return 0;
}
