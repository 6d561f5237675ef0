#include "ui/file_list_order.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace trelik {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

unsigned char Lower(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// The run of digits starting at `at`, without its leading zeros.
std::string_view DigitRun(const std::string& text, std::size_t& at) {
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  std::string_view run(text.data() + start, at - start);
  while (run.size() > 1 && run.front() == '0') run.remove_prefix(1);
  return run;
}

// Negative, zero or positive as `a` sorts before, with or after `b`.
int CompareNaturally(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::string_view left = DigitRun(a, i);
      const std::string_view right = DigitRun(b, j);
      if (left.size() != right.size()) return left.size() < right.size() ? -1 : 1;
      if (const int order = left.compare(right); order != 0) return order;
      continue;
    }
    const unsigned char left = Lower(a[i++]);
    const unsigned char right = Lower(b[j++]);
    if (left != right) return left < right ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

std::vector<std::string> FileListOrder(std::vector<ListedEntry> entries, char folderMark) {
  std::sort(entries.begin(), entries.end(), [](const ListedEntry& a, const ListedEntry& b) {
    if (a.isFolder != b.isFolder) return !a.isFolder;
    const int order = CompareNaturally(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
  });
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (auto& entry : entries) {
    if (entry.isFolder) entry.name.push_back(folderMark);
    names.push_back(std::move(entry.name));
  }
  return names;
}

std::vector<std::string> FileListOrder(const std::vector<std::string>& names) {
  std::vector<ListedEntry> entries;
  entries.reserve(names.size());
  for (const auto& name : names) entries.push_back({name});
  return FileListOrder(std::move(entries), '\0');
}

}  // namespace trelik
