#pragma once

#include <string>

#include "shell/registry.h"

namespace trelik {

// Explorer's folder context-menu entry "Make a Trelik template": a verb on every folder, kept
// below the per-user classes root, so that no administrator rights are needed.
inline constexpr const char* kFolderVerbKey = "Directory\\shell\\TrelikTemplate";

// Writes the verb, which starts `executablePath` on the folder; false when it could not be.
bool RegisterFolderVerb(Registry& registry, const std::string& executablePath);

enum class VerbRemoval { kAbsent, kRemoved, kFailed };
VerbRemoval UnregisterFolderVerb(Registry& registry);

}  // namespace trelik
