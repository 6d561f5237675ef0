#include "templates/template_library.h"

#include <algorithm>
#include <utility>

#include "common/error.h"
#include "common/file_name_rules.h"
#include "common/notice.h"
#include "common/path_parts.h"
#include "library/library_files.h"
#include "library/library_folder.h"
#include "library/list_lock.h"
#include "library/lock_file.h"
#include "library/settings_sections.h"
#include "library/template_list.h"
#include "library/template_name.h"
#include "library/template_source.h"
#include "shell/type_names.h"
#include "templates/library_notices.h"

namespace trelik {
namespace {

bool IsRegistered(Registry& registry, const std::string& name) {
  const auto exists = [&registry](const std::string& path) {
    return static_cast<bool>(OpenedKey(registry, registry.OpenKey(RegistryKey::kRoot, path)));
  };
  return exists(TemplateExtension(name) + kNewMenuSubkey) && exists(TemplateTypeName(name));
}

}  // namespace

std::string TemplateLibrary::NameFor(const std::string& folder, const std::string& given) {
  return given.empty() ? FileNamePart(folder, PlatformSeparators()) : given;
}

TemplateLibrary::TemplateLibrary(std::string dataFolder, TIniFile& settings, ShellOperations& shell,
                                 Opener openRegistry, std::string executablePath, Teller tell)
    : dataFolder_(std::move(dataFolder)),
      settings_(settings),
      shell_(shell),
      openRegistry_(std::move(openRegistry)),
      executablePath_(std::move(executablePath)),
      tell_(std::move(tell)) {}

std::optional<std::string> TemplateLibrary::MissingNotice() const {
  const std::string folder = WithoutTrailingSeparators(dataFolder_, PlatformSeparators());
  if (!IsLibraryElsewhere(settings_) || shell_.IsExistingFolder(folder)) {
    return std::nullopt;
  }
  return WithNextStep(MissingLibraryText(folder), kConnectTheLibrary);
}

std::optional<std::string> TemplateLibrary::ChangeRefusal() const {
  const std::string folder = WithoutTrailingSeparators(dataFolder_, PlatformSeparators());
  if (WriteAccess(folder) != FolderAccess::kReadOnly) return MissingNotice();
  return WithNextStep("The template library \"" + folder +
                          "\" is read-only: its templates can be used, but none can be added, "
                          "deleted or changed.",
                      kAskForWriting);
}

void TemplateLibrary::ChangeList(const std::function<void(std::vector<std::string>&)>& change) {
  // An unmounted share's folder is never made anew; a data folder made now holds no list of
  // another program's.
  if (const auto missing = MissingNotice()) throw Error(*missing);
  std::optional<ListLock> lock;
  if (shell_.IsExistingFolder(dataFolder_)) lock.emplace(dataFolder_ + kListLockFile, tell_);
  std::vector<std::string> list = ReadList();
  change(list);
  SaveTemplateList(ListFilePath(), list);
}

std::vector<std::string> TemplateLibrary::SaveList(const std::vector<std::string>& base,
                                                   const std::vector<std::string>& mine) {
  std::vector<std::string> saved;
  ChangeList([&](std::vector<std::string>& theirs) {
    theirs = MergeTemplateLists(base, mine, theirs);
    saved = theirs;
  });
  return saved;
}

std::string TemplateLibrary::ListFilePath() const { return dataFolder_ + kTemplateListFile; }

std::string TemplateLibrary::StoreFolder() const {
  return dataFolder_ + kTemplateStoreFolder + PlatformSeparators().joiner;
}

bool TemplateLibrary::StoreFolderExists(const std::string& name) const {
  return shell_.IsExistingFolder(StoreFolder() + name);
}

std::string TemplateLibrary::TakenMessage(const std::string& name) const {
  return WithNextStep("The template store already holds \"" + name + "\".", kStoreHoldsIt);
}

std::optional<std::string> TemplateLibrary::AddRefusal(
    const std::string& folder, const UserFolders& user,
    const std::function<bool(const std::string&)>& isListed, const std::string& given) const {
  if (auto refusal = ChangeRefusal()) return refusal;
  if (const auto refusal = TemplateFolderRefusal(folder, user, StoreFolder())) {
    return WithNextStep("\"" + folder + "\" cannot be added as a template: " + *refusal + ".",
                        kPickAnotherFolder);
  }
  const std::string name = NameFor(folder, given);
  if (isListed(name)) return WithNextStep("same project exists !", kListedAlready);
  if (const auto problem = TemplateNameProblem(name, PlatformSeparators())) {
    return WithNextStep("\"" + folder + "\" cannot be added as a template: " + *problem + ".",
                        kRenameTheFolder);
  }
  // A folder of that name is offered for use instead (StoredFolderQuestion).
  if (shell_.IsExistingFile(StoreFolder() + name)) return TakenMessage(name);
  return std::nullopt;
}

std::vector<std::string> TemplateLibrary::ReadList() const {
  std::vector<std::string> list;
  if (!LoadTemplateListIfAny(ListFilePath(), list)) {
    throw Error(WithNextStep("\"" + ListFilePath() + "\" holds a NUL byte, and is left as it is.",
                             kRepairTheList));
  }
  return list;
}

std::optional<std::string> TemplateLibrary::StoredFolderQuestion(const std::string& folder,
                                                                 const std::string& given) const {
  const std::string name = NameFor(folder, given);
  if (!StoreFolderExists(name)) return std::nullopt;
  return "\"" + StoreFolder() + name + "\" is already in the template store.\nUse that folder as " +
         "the template \"" + name + "\" instead of copying \"" + folder + "\"?";
}

TemplateLibrary::Addition TemplateLibrary::AddStored(const std::string& folder,
                                                     const std::string& given,
                                                     const Recorded& recorded) {
  const std::string name = NameFor(folder, given);
  if (const auto refusal = AdditionRefusal(name, recorded)) return {.failure = *refusal};
  MakeTemplate(name, recorded);
  return {.name = name};
}

void TemplateLibrary::MakeTemplate(const std::string& name, const Recorded& recorded) {
  try {
    if (recorded != Recorded{}) Write(name, recorded);
    Register(name);
    ChangeList([&name](std::vector<std::string>& list) {
      if (std::ranges::none_of(list, [&name](const auto& listed) { return listed == name; })) {
        list.push_back(name);
      }
    });
  } catch (const Error& error) {
    Unregister(name);
    Forget(name);
    throw Error(std::string(error.what()) + "\n\"" + name + "\" was not added");
  }
}

TemplateLibrary::Addition TemplateLibrary::Add(NativeWindow owner, const std::string& folder,
                                               const std::string& given, const Recorded& recorded) {
  const std::string name = NameFor(folder, given);
  const CopyResult copy = shell_.CopyFolder(owner, folder, StoreFolder(), {}, name);
  if (copy.cancelled) return {};
  if (!copy.arrivedAt) {
    std::string text = "\"" + folder + "\" could not be copied into the template store.";
    if (!copy.failure.empty()) text.append("\n").append(copy.failure);
    return {.failure = WithNextStep(text, kCopyAgain)};
  }
  std::optional<std::string> refusal;
  if (FileNamePart(*copy.arrivedAt, PlatformSeparators()) != name) {
    refusal = TakenMessage(name);
  } else {
    refusal = AdditionRefusal(name, recorded);
  }
  if (refusal) {
    static_cast<void>(shell_.RemoveFolder(*copy.arrivedAt));
    return {.failure = *refusal};
  }
  try {
    MakeTemplate(name, recorded);
  } catch (const Error&) {
    static_cast<void>(shell_.RemoveFolder(*copy.arrivedAt));
    throw;
  }
  return {.name = name};
}

std::string TemplateLibrary::RemoveQuestion(const std::string& name) const {
  return "Remove \"" + name + "\" from the templates? Its folder stays in " +
         WithoutTrailingSeparators(StoreFolder(), PlatformSeparators()) + ".";
}

void TemplateLibrary::Remove(const std::string& name, bool deleteFolder) {
  if (const auto refusal = ChangeRefusal()) throw Error(*refusal);
  ChangeList([&name](std::vector<std::string>& list) { std::erase(list, name); });
  Unregister(name);
  Forget(name);
  if (deleteFolder && !shell_.RemoveFolder(StoreFolder() + name)) {
    throw Error(WithNextStep("\"" + name + "\" was removed, but its folder \"" + StoreFolder() +
                                 name + "\" could not be deleted.",
                             "Delete the folder by hand."));
  }
}

void TemplateLibrary::Forget(const std::string& name) {
  settings_.RemoveKey(kMainFileSection, name);
  settings_.RemoveKey(kAutoOpenSection, name);
  settings_.RemoveKey(kFillSection, name);
}

TemplateLibrary::Recorded TemplateLibrary::RecordedFor(const std::string& name) const {
  return {.mainFile = settings_.ReadText(kMainFileSection, name, ""),
          .autoOpen = settings_.ReadFlag(kAutoOpenSection, name, false),
          .fill = settings_.ReadFlag(kFillSection, name, false)};
}

std::optional<std::string> TemplateLibrary::RecordRefusal(const std::string& name,
                                                          const Recorded& recorded) const {
  const PathSeparators& separators = PlatformSeparators();
  // The file list shows a folder with a trailing separator.
  const std::string entry = WithoutTrailingSeparators(recorded.mainFile, separators);
  if (entry != recorded.mainFile ||
      (!entry.empty() && StoreFolderExists(name + separators.joiner + entry))) {
    return WithNextStep("\"" + entry + "\" is a folder: the main file must be a file.",
                        kChooseAFile);
  }
  if (const auto problem = FileNameProblem(recorded.mainFile, separators)) {
    return WithNextStep("\"" + recorded.mainFile + "\" cannot be the main file: " + *problem + ".",
                        kChooseAFile);
  }
  return std::nullopt;
}

std::optional<std::string> TemplateLibrary::Record(const std::string& name,
                                                   const Recorded& recorded) {
  if (const auto refusal = RecordRefusal(name, recorded)) return refusal;
  Write(name, recorded);
  return std::nullopt;
}

void TemplateLibrary::Write(const std::string& name, const Recorded& recorded) {
  settings_.WriteText(kMainFileSection, name, recorded.mainFile);
  settings_.WriteFlag(kAutoOpenSection, name, recorded.autoOpen);
  settings_.WriteFlag(kFillSection, name, recorded.fill);
}

std::optional<std::string> TemplateLibrary::AdditionRefusal(const std::string& name,
                                                            const Recorded& recorded) const {
  if (recorded.mainFile.empty()) return std::nullopt;
  if (const auto refusal = RecordRefusal(name, recorded)) return refusal;
  if (shell_.IsExistingFile(StoreFolder() + name + PlatformSeparators().joiner +
                            recorded.mainFile)) {
    return std::nullopt;
  }
  return WithNextStep(
      "\"" + recorded.mainFile + "\" is not a file of the template \"" + name + "\".",
      kChooseAFile);
}

void TemplateLibrary::RegisterListed(const std::vector<std::string>& templates,
                                     const std::function<void(const std::string&)>& tell) {
  std::vector<std::string> registrable;
  std::string withoutFolder;
  for (const auto& name : templates) {
    if (TemplateNameProblem(name, PlatformSeparators())) continue;
    if (StoreFolderExists(name)) {
      registrable.push_back(name);
    } else {
      withoutFolder.append("\n").append(name);
    }
  }
  if (!withoutFolder.empty()) {
    tell(WithNextStep("These listed templates have no folder in the template store \"" +
                          StoreFolder() +
                          "\", so the New menu does not offer them:" + withoutFolder,
                      kRestoreTheFolders));
  }
  if (registrable.empty()) return;
  // One registration for all of them: a library of hundreds of templates then costs one store
  // write and one change notification, not one of each per template.
  const auto registry = openRegistry_();
  std::vector<FileTypeToRegister> missing;
  for (const auto& name : registrable) {
    if (!IsRegistered(*registry, name)) {
      missing.push_back({TemplateExtension(name), TemplateTypeName(name), true});
    }
  }
  RegisterFileTypes(Context(*registry), missing);
}

RegistrationContext TemplateLibrary::Context(Registry& registry) {
  return {registry, executablePath_, [this] { shell_.NotifyAssociationsChanged(); }};
}

void TemplateLibrary::Register(const std::string& name) {
  const auto registry = openRegistry_();
  RegisterFileType(Context(*registry), TemplateExtension(name), TemplateTypeName(name), true);
}

void TemplateLibrary::Unregister(const std::string& name) {
  const auto registry = openRegistry_();
  UnregisterFileType(Context(*registry), name, name);
}

}  // namespace trelik
