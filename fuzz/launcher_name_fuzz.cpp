// Launcher names, by the Windows and the Linux path rules: the template name is the end of the
// last extension after "trelik_", and a launcher made for a template gives that template back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/path_parts.h"
#include "creation/launcher_name.h"
#include "fuzz_check.h"
#include "shell/type_names.h"

namespace {

using trelik::kTemplateTypeStart;
using trelik::PathSeparators;

bool HoldsAny(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

void CheckExtracted(std::string_view path, const PathSeparators& separators) {
  const std::string name = trelik::ExtractProjectName(path, separators);
  if (name.empty()) return;
  // It lies within the last extension of the file name, right after the marker.
  FUZZ_CHECK(!HoldsAny(name, separators.delimiters));
  FUZZ_CHECK(name.find('.') == std::string::npos);
  FUZZ_CHECK(path.ends_with(std::string(kTemplateTypeStart) + name));
}

// A launcher as the New menu creates it, in folder `folder`, for template `name`.
void CheckMadeLauncher(const std::string& folder, const std::string& base, const std::string& name,
                       const PathSeparators& separators) {
  if (name.empty() || HoldsAny(name, separators.delimiters) || HoldsAny(name, ".") ||
      HoldsAny(base, separators.delimiters)) {
    return;
  }
  const std::string launcher = folder + separators.joiner + base + ".";
  FUZZ_CHECK(trelik::ExtractProjectName(launcher + std::string(kTemplateTypeStart) + name,
                                        separators) == name);
  // The marker is case-sensitive.
  if (name.find(kTemplateTypeStart) == std::string::npos) {
    FUZZ_CHECK(trelik::ExtractProjectName(launcher + "Trelik_" + name, separators).empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  CheckExtracted(path, trelik::kWindowsSeparators);
  CheckExtracted(path, trelik::kPosixSeparators);
  // Where no separator of either platform appears, both platforms read the same name.
  if (!HoldsAny(path, "\\:/")) {
    FUZZ_CHECK(trelik::ExtractProjectName(path, trelik::kWindowsSeparators) ==
               trelik::ExtractProjectName(path, trelik::kPosixSeparators));
  }

  FuzzedDataProvider provider(data, size);
  const std::string folder = provider.ConsumeRandomLengthString();
  const std::string base = provider.ConsumeRandomLengthString();
  const std::string name = provider.ConsumeRemainingBytesAsString();
  CheckMadeLauncher(folder, base, name, trelik::kWindowsSeparators);
  CheckMadeLauncher(folder, base, name, trelik::kPosixSeparators);
  return 0;
}
