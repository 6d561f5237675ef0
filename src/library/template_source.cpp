#include "library/template_source.h"

#include <vector>

#include "common/path_parts.h"
#include "library/file_tree.h"

namespace trelik {
namespace {

constexpr std::uint64_t kLargeEntries = 1000;
constexpr std::uint64_t kMegabyte = 1000 * 1000;
constexpr std::uint64_t kLargeBytes = 100 * kMegabyte;

// True when `folder` is `other` or one of the folders above it; both comparable paths.
bool IsOrHolds(const std::string& folder, const std::string& other) {
  return other == folder || other.starts_with(AsFolder(folder, PlatformSeparators()));
}

// 12345 as "12,345".
std::string Grouped(std::uint64_t number) {
  std::string digits = std::to_string(number);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes >= 1000 * kMegabyte) {
    const std::uint64_t tenths = (bytes + 50 * kMegabyte) / (100 * kMegabyte);
    return Grouped(tenths / 10) + "." + std::to_string(tenths % 10) + " GB";
  }
  if (bytes >= kMegabyte) return std::to_string((bytes + kMegabyte / 2) / kMegabyte) + " MB";
  return std::to_string((bytes + 999) / 1000) + " KB";
}

}  // namespace

std::optional<std::string> TemplateFolderRefusal(const std::string& folder, const UserFolders& user,
                                                 const std::string& store) {
  if (IsFileSystemRoot(folder)) {
    return "it is the top of a drive or file system, which holds far more than one project";
  }
  const std::string chosen = ComparablePath(folder);
  const struct {
    const std::string& path;
    const char* what;
  } guarded[] = {{user.home, "your home folder"},
                 {user.desktop, "your desktop folder"},
                 {store, "the template store, which cannot be copied into itself"}};
  for (const auto& [path, what] : guarded) {
    if (!path.empty() && ComparablePath(path) == chosen) return std::string("it is ") + what;
  }
  for (const auto& [path, what] : guarded) {
    if (!path.empty() && IsOrHolds(chosen, ComparablePath(path))) {
      return std::string("it holds ") + what;
    }
  }
  return std::nullopt;
}

TreeSize MeasureTree(const std::string& folder, std::uint64_t limit) {
  TreeSize size;
  std::vector<std::string> pending{folder};
  while (!pending.empty()) {
    const std::string current = std::move(pending.back());
    pending.pop_back();
    for (const auto& entry : ReadFolderEntries(current).entries) {
      if (size.entries == limit) {
        size.complete = false;
        return size;
      }
      ++size.entries;
      if (entry.kind == EntryKind::kFile) size.bytes += entry.size;
      if (entry.kind == EntryKind::kFolder) {
        pending.push_back(JoinPath(current, entry.name, PlatformSeparators()));
      }
    }
  }
  return size;
}

bool IsLargeTree(const TreeSize& size) {
  return size.entries > kLargeEntries || size.bytes > kLargeBytes;
}

std::string LargeTreeQuestion(const std::string& folder, const TreeSize& size) {
  const std::string more = size.complete ? "" : "more than ";
  return "\"" + folder + "\" is large: " + more + Grouped(size.entries) + " files and folders, " +
         (size.complete ? "" : "over ") + SizeText(size.bytes) +
         ".\nCopy all of it into the template store?";
}

}  // namespace trelik
