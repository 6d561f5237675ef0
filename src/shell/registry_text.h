#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/registry_tree.h"

namespace trelik {

// The key that the root of a registry text stands for in its section headers: file types are
// kept per user.
inline constexpr std::string_view kRegistryTextRoot = "HKEY_CURRENT_USER\\Software\\Classes";

// The keys below `root` in the registry's text export format: the line "REGEDIT4", then one
// section per key, parents before their subkeys, the default value first; backslashes and double
// quotes in value names and data are escaped. Nullopt when a value holds a line break or a NUL,
// which the format cannot keep.
std::optional<std::string> FormatRegistryText(const RegistryNode& root);

// Whether a value name or data can be written in that format: it holds no line break and no NUL.
bool RegistryTextCanHold(std::string_view text);

// Reads text of that format (CR LF or LF line ends). Only string values below
// kRegistryTextRoot are understood; anything else, and anything FormatRegistryText could not
// write again (a NUL or a carriage return in a value or its name, a key name SplitKeyPath
// refuses), gives nullopt, and `problem` then names the line and what is wrong with it.
std::optional<RegistryNode> ParseRegistryText(std::string_view text, std::string& problem);

}  // namespace trelik
