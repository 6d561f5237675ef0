#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/ini_file.h"
#include "library/user_folders.h"
#include "shell/file_type_registration.h"
#include "shell/registry.h"
#include "shell/shell_operations.h"

namespace trelik {

// The templates in a data folder: their folders in the store, their file types and what the
// settings record for each. The template list itself is kept by the caller, who lists a new
// template last, once it is whole. The texts it returns are the messages the user is shown.
class TemplateLibrary {
 public:
  using Opener = std::function<std::shared_ptr<Registry>()>;

  // `dataFolder` ends in a separator. Each registration opens the registry anew with
  // `openRegistry`, so that what another copy of the program registered meanwhile is kept.
  TemplateLibrary(std::string dataFolder, TIniFile& settings, ShellOperations& shell,
                  Opener openRegistry, std::string executablePath);

  std::string ListFilePath() const;
  std::string StoreFolder() const;  // ends in a separator

  // Why `folder` cannot become a template; `isListed` tells whether a name is taken, as the
  // template list compares names. Only a folder of one project whose name survives as an
  // extension, a settings key and a folder name, and which is not in the store yet, can.
  std::optional<std::string> AddRefusal(
      const std::string& folder, const UserFolders& user,
      const std::function<bool(const std::string&)>& isListed) const;

  struct Addition {
    std::optional<std::string> name;  // the new template's name; nullopt when none was added
    std::string failure;              // why not; empty when the user cancelled the copy
  };
  // Copies `folder` into the store and registers its file type, whole or not at all: the copy
  // and the type are taken back when either fails. A refused registration throws Error.
  Addition Add(NativeWindow owner, const std::string& folder);

  // The store may hold a folder by the name `folder` would get: one a removed template left, or
  // one laid there by hand. Then this is the question that offers to make a template of it
  // instead of copying, naming where it is; nullopt when there is none.
  std::optional<std::string> StoredFolderQuestion(const std::string& folder) const;
  // Makes the store's folder of that name a template, copying nothing: registers its file type,
  // or takes it back and throws Error.
  Addition AddStored(const std::string& folder);

  // The question to ask before `name` leaves the list.
  std::string RemoveQuestion(const std::string& name) const;
  // Unregisters the template's file type and forgets what is recorded for it; its folder stays.
  void Remove(const std::string& name);

  struct Recorded {
    std::string mainFile;
    bool autoOpen = false;
    bool fill = false;
    bool operator==(const Recorded&) const = default;
  };
  Recorded RecordedFor(const std::string& name) const;
  // Records the template's main file and flags; refuses, writing nothing, a main file that is
  // a folder, no plain name inside the template, or that would break the settings file.
  std::optional<std::string> Record(const std::string& name, const Recorded& recorded);

  // A library restored from a backup or laid out by hand has its templates but no file types:
  // each of `templates` whose folder is in the store gets its file type, once `tell` has had the
  // notice naming those without a folder. Lines that could never have been added are no
  // templates.
  void RegisterListed(const std::vector<std::string>& templates,
                      const std::function<void(const std::string&)>& tell);

 private:
  // Registers `name`, taking back what was done of it when that fails.
  void RegisterWhole(const std::string& name);
  bool StoreFolderExists(const std::string& name) const;
  RegistrationContext Context(Registry& registry);
  void Register(const std::string& name);
  void Unregister(const std::string& name);
  std::string TakenMessage(const std::string& name) const;

  std::string dataFolder_;
  TIniFile& settings_;
  ShellOperations& shell_;
  Opener openRegistry_;
  std::string executablePath_;
};

}  // namespace trelik
