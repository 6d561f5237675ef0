#include "shell/posix/registry_store.h"

#include <sys/stat.h>

#include <cerrno>

#include "common/error.h"
#include "library/file_access.h"
#include "shell/registry_text.h"

namespace trelik {
namespace {

RegistryNode LoadStore(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return {};
  std::string systemError;
  const auto text = ReadWholeFile(path, systemError);
  if (!text) {
    throw Error("Cannot read the file-type store \"" + path + "\". " + systemError);
  }
  std::string problem;
  auto root = ParseRegistryText(*text, problem);
  if (!root) {
    throw Error("The file-type store \"" + path + "\" is damaged (" + problem +
                "); it is left as it is and no file type can be registered until it is "
                "repaired or removed");
  }
  return std::move(*root);
}

bool SaveStore(const std::string& path, const RegistryNode& root) {
  const auto text = FormatRegistryText(root);
  std::string ignored;
  return text && ReplaceFileAtomically(path, *text, ignored) == ReplaceOutcome::kReplaced;
}

}  // namespace

RegistryStore::RegistryStore(const std::string& path)
    : MemoryRegistry(LoadStore(path),
                     [path](const RegistryNode& root) { return SaveStore(path, root); }) {}

}  // namespace trelik
