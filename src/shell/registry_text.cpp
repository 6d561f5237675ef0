#include "shell/registry_text.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "common/ascii_case.h"

namespace trelik {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

bool AppendKey(const RegistryNode& node, const std::string& path, std::string& text) {
  const RegistryValue* defaultValue = node.FindValue("");
  if (!node.values.empty() || path != kRegistryTextRoot) {
    text.append("[").append(path).append("]").append(kLineEnd);
    if (defaultValue) {
      if (!RegistryTextCanHold(defaultValue->data)) return false;
      text.append("@=").append(Quoted(defaultValue->data)).append(kLineEnd);
    }
    for (const RegistryValue& value : node.values) {
      if (&value == defaultValue) continue;
      if (!RegistryTextCanHold(value.name) || !RegistryTextCanHold(value.data)) return false;
      text.append(Quoted(value.name)).append("=").append(Quoted(value.data)).append(kLineEnd);
    }
    text.append(kLineEnd);
  }
  return std::ranges::all_of(node.subkeys, [&](const RegistryNode& subkey) {
    std::string subkeyPath = path;
    subkeyPath.append("\\").append(subkey.name);
    return AppendKey(subkey, subkeyPath, text);
  });
}

// Reads a double-quoted, escaped string at the start of `rest` and moves past it.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
  if (!rest.starts_with('"')) return std::nullopt;
  std::string text;
  for (std::size_t i = 1; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      rest.remove_prefix(i + 1);
      return text;
    }
    if (c == '\\') {
      if (++i == rest.size() || (rest[i] != '\\' && rest[i] != '"')) return std::nullopt;
    }
    text += rest[i];
  }
  return std::nullopt;
}

// Whether a section header names the root or a key below it.
bool InsideRoot(std::string_view header) {
  return header.size() >= kRegistryTextRoot.size() &&
         SameRegistryName(header.substr(0, kRegistryTextRoot.size()), kRegistryTextRoot) &&
         (header.size() == kRegistryTextRoot.size() || header[kRegistryTextRoot.size()] == '\\');
}

}  // namespace

bool RegistryTextCanHold(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::optional<std::string> FormatRegistryText(const RegistryNode& root) {
  std::string text(kHeader);
  text.append(kLineEnd).append(kLineEnd);
  if (!AppendKey(root, std::string(kRegistryTextRoot), text)) return std::nullopt;
  return text;
}

std::optional<RegistryNode> ParseRegistryText(std::string_view text, std::string& problem) {
  RegistryNode root;
  // The keys right below the root by their lowercase names: a store holds hundreds of them, and
  // looking each section's first name up among all of them would take quadratic time.
  std::unordered_map<std::string, std::size_t> topLevel;
  const auto topLevelKey = [&](const std::string& name) -> RegistryNode& {
    const auto [entry, added] = topLevel.try_emplace(AsciiLowercase(name), root.subkeys.size());
    if (added) root.subkeys.push_back(RegistryNode{name, {}, {}});
    return root.subkeys[entry->second];
  };
  RegistryNode* section = nullptr;
  std::size_t lineNumber = 0;
  const auto fail = [&](std::string_view what) {
    problem = "line " + std::to_string(lineNumber) + ": ";
    problem.append(what);
    return std::nullopt;
  };
  do {
    ++lineNumber;
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);

    if (lineNumber == 1) {
      if (line != kHeader) return fail("the file does not start with REGEDIT4");
    } else if (line.empty()) {
      continue;
    } else if (line.starts_with('[')) {
      if (!line.ends_with(']')) return fail("a key name without its closing bracket");
      const std::string_view header = line.substr(1, line.size() - 2);
      if (!InsideRoot(header)) return fail("a key outside HKEY_CURRENT_USER\\Software\\Classes");
      section = &root;
      if (header.size() > kRegistryTextRoot.size()) {
        const auto names = SplitKeyPath(header.substr(kRegistryTextRoot.size() + 1));
        if (names.empty()) {
          return fail("a key name that is empty, too long or holds a control character");
        }
        section = &topLevelKey(names.front());
        for (auto name = names.begin() + 1; name != names.end(); ++name) {
          section = &section->ProvideSubkey(*name);
        }
      }
    } else {
      if (section == nullptr) return fail("a value before the first key");
      std::string_view rest = line;
      std::optional<std::string> name;
      if (rest.starts_with("@")) {
        rest.remove_prefix(1);
        name = "";
      } else {
        name = TakeQuoted(rest);
      }
      if (!name || !rest.starts_with('=')) return fail("unreadable value name");
      rest.remove_prefix(1);
      const auto data = TakeQuoted(rest);
      if (!data || !rest.empty()) return fail("a value that is not a plain string");
      // Loaded, they could never be saved again.
      if (!RegistryTextCanHold(*name) || !RegistryTextCanHold(*data)) {
        return fail("a NUL or a carriage return in a value");
      }
      section->SetValue(*name, *data);
    }
  } while (!text.empty());
  return root;
}

}  // namespace trelik
