// The file-type store: every store file that loads can be saved again, and saving and loading
// it back gives the same keys and values; a file that does not load says on which line.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "shell/registry_text.h"

namespace {

using trelik::RegistryNode;
using trelik::RegistryValue;

// The saved text puts a key's default value first; apart from that, order and spelling are kept.
bool SameValuesDefaultFirst(const RegistryNode& a, const RegistryNode& b) {
  if (a.values.size() != b.values.size()) return false;
  const RegistryValue* aDefault = a.FindValue("");
  const RegistryValue* bDefault = b.FindValue("");
  if ((aDefault == nullptr) != (bDefault == nullptr)) return false;
  if (aDefault != nullptr && aDefault->data != bDefault->data) return false;
  auto bValue = b.values.begin();
  for (const RegistryValue& aValue : a.values) {
    if (&aValue == aDefault) continue;
    if (&*bValue == bDefault) ++bValue;
    if (aValue.name != bValue->name || aValue.data != bValue->data) return false;
    ++bValue;
  }
  return true;
}

bool SameTree(const RegistryNode& a, const RegistryNode& b) {
  if (a.name != b.name || !SameValuesDefaultFirst(a, b)) return false;
  if (a.subkeys.size() != b.subkeys.size()) return false;
  for (std::size_t i = 0; i < a.subkeys.size(); ++i) {
    if (!SameTree(a.subkeys[i], b.subkeys[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string problem;
  const std::optional<RegistryNode> loaded = trelik::ParseRegistryText(text, problem);
  if (!loaded) {
    FUZZ_CHECK(problem.starts_with("line "));
    return 0;
  }

  const std::optional<std::string> saved = trelik::FormatRegistryText(*loaded);
  FUZZ_CHECK(saved.has_value());
  std::string reloadProblem;
  const std::optional<RegistryNode> reloaded = trelik::ParseRegistryText(*saved, reloadProblem);
  FUZZ_CHECK(reloaded.has_value());
  FUZZ_CHECK(SameTree(*loaded, *reloaded));
  // Saving an unchanged store writes the same bytes again.
  FUZZ_CHECK(trelik::FormatRegistryText(*reloaded) == saved);
  return 0;
}
