#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/path_parts.h"
#include "shell/registry.h"

namespace trelik {

// What registering file types needs from outside: where the keys go, the program that opens the
// files, and how to tell the shell that file types changed.
struct RegistrationContext {
  Registry& registry;
  std::string executablePath;
  std::function<void()> notifyAssociationsChanged;
};

// Writes, below the registry's root: `extension` with the default value `typeName`; with
// `withShellNew`, `extension` + kNewMenuSubkey with the empty value "NullFile"; `typeName` with the
// default value `typeName`, its DefaultIcon (the executable's first icon) and its
// Shell\Open\Command (the executable with the file's path as its one argument). Other values
// and subkeys already there stay. Only values that differ are written, committed once, and only
// then is the shell told; true when anything was written.
// A refused write throws Error("Failed to set data for '<value name>'"), followed by a line
// break and the registry's LastFailure() when it says why: what was written before it stays,
// and the shell is not told. A refused commit throws the same for the first value written.
bool RegisterFileType(const RegistrationContext& context, const std::string& extension,
                      const std::string& typeName, bool withShellNew);

struct FileTypeToRegister {
  std::string extension;
  std::string typeName;
  bool withShellNew = false;
};
// RegisterFileType for each of `types` in turn, as one registration: the changes of all of them
// are committed once, and the shell is told once, at the end. A refused write ends the batch as
// it ends one registration: the types before it stay, and the shell is not told.
bool RegisterFileTypes(const RegistrationContext& context,
                       const std::vector<FileTypeToRegister>& types);

// Deletes TemplateExtension(`extensionSuffix`) and TemplateTypeName(`typeSuffix`), each with
// everything below it, commits, and tells the shell when anything was deleted, so that a removed
// New-menu entry goes at once; true then. Never fails: what is missing or cannot be deleted is left
// as it is.
bool UnregisterFileType(const RegistrationContext& context, const std::string& extensionSuffix,
                        const std::string& typeSuffix);

// Trelik's executable as a platform names it: its file name, the separators of paths to it, and
// whether the file system tells names apart by case.
struct ExecutableNaming {
  std::string_view fileName;
  PathSeparators separators;
  bool caseSensitive;
};

inline constexpr ExecutableNaming kWindowsExecutable{"trelik.exe", kWindowsSeparators, false};
inline constexpr ExecutableNaming kPosixExecutable{"trelik", kPosixSeparators, true};

// Whether the extension key `extension` names a type whose open command runs the program at
// `executablePath`, or Trelik of another install as its executable's file name shows.
bool IsTrelikFileType(Registry& registry, const std::string& extension,
                      std::string_view executablePath, const ExecutableNaming& naming);

// What UnregisterAllFileTypes did.
struct FileTypeRemoval {
  std::vector<std::string> removed;     // the keys deleted, in the order deleted
  std::vector<std::string> leftBehind;  // keys of ours still there afterwards
  std::vector<std::string> foreign;     // keys named like ours that are another program's
  std::string failure;                  // the registry's word on why, when it has one
};

// Deletes every file type that Trelik registered, each key with everything below it. The
// candidates are ".trelik" and "Trelik", the TemplateExtension and TemplateTypeName of each of
// `listedTemplates`, and every other key at the root whose name starts with
// kTemplateExtensionStart or kTemplateTypeStart in any case (the registry's own comparison), so
// that types of templates no longer listed go too. Of them, a type key is Trelik's when its
// Shell\Open\Command runs the program at the context's executable path or any executable with
// `naming`'s file name (another install); an extension key is Trelik's when its default value names
// such a type. The other candidates stay and are listed as foreign. Commits, and tells the shell
// when anything was deleted. Keys that are missing are not mentioned.
FileTypeRemoval UnregisterAllFileTypes(const RegistrationContext& context,
                                       const std::vector<std::string>& listedTemplates,
                                       const ExecutableNaming& naming);

}  // namespace trelik
