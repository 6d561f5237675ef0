// The creation's plan from a typed name: the project arrives under a free name; folder and main
// file are renamed only to plain names, the main file keeping its extension; a script's project
// is made with every typed part used as asked, or not at all; nothing is opened that is not there.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "common/file_name_rules.h"
#include "common/path_parts.h"
#include "creation/creation_plan.h"
#include "fuzz_check.h"

namespace {

using trelik::NameForm;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  trelik::PlanInput input;
  input.separators = provider.ConsumeBool() ? trelik::kWindowsSeparators : trelik::kPosixSeparators;
  input.allOrNothing = provider.ConsumeBool();
  input.autoOpenChecked = provider.ConsumeBool();
  input.templateName = provider.ConsumeRandomLengthString(16);
  input.recordedMainFile = provider.ConsumeRandomLengthString(16);
  input.typedName = provider.ConsumeRandomLengthString(32);
  std::set<std::string> taken;
  while (taken.size() < 4 && provider.remaining_bytes() > 0) {
    taken.insert(provider.ConsumeRandomLengthString(16));
  }
  // Templates are added only under names that can name a folder.
  if (input.templateName.empty() || trelik::FileNameProblem(input.templateName, input.separators)) {
    return 0;
  }
  input.destination = "/projects/";
  input.isTaken = [&taken](const std::string& name) { return taken.contains(name); };
  const trelik::CreationPlan plan = trelik::PlanCreation(input);
  const auto plain = [&](const std::string& name) {
    return !name.empty() && !trelik::FileNameProblem(name, input.separators);
  };

  FUZZ_CHECK(plain(plan.arrivalName) && !taken.contains(plan.arrivalName));
  FUZZ_CHECK(plan.mainFile.empty() || plain(plan.mainFile));
  FUZZ_CHECK(plan.wantedFolder.empty() || plain(plan.wantedFolder));
  if (!plan.fileStem.empty()) {
    FUZZ_CHECK(plain(plan.fileStem) && !plan.mainFile.empty());
    FUZZ_CHECK(plan.newMainFile ==
               plan.fileStem + trelik::ExtensionPart(plan.mainFile, input.separators));
  }
  FUZZ_CHECK(!plan.open || (!plan.mainFile.empty() && !plan.refusal));
  if (input.allOrNothing && !plan.refusal) {
    const NameForm form = plan.name.form;
    if (form == NameForm::kFolderAndFile || form == NameForm::kFolderOnly) {
      FUZZ_CHECK(plan.arrivalName == plan.name.folderPart);
    }
    // A typed file part renames the main file, or fills {{trelik.file}} where none is recorded.
    if (form == NameForm::kFolderAndFile || form == NameForm::kFileOnly) {
      FUZZ_CHECK(plan.fileToken == plan.name.filePart);
      FUZZ_CHECK(plan.fileStem == (plan.mainFile.empty() ? "" : plan.name.filePart));
    }
  }
  return 0;
}
