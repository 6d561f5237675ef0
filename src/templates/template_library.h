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

// The templates of a library: their folders in its store, its list, their file types and what
// the settings record for each. Adding and removing change all of these at once, whole or not at
// all, for the editor, the command line and the file managers alike. The texts it returns are
// the messages the user is shown.
class TemplateLibrary {
 public:
  using Opener = std::function<std::shared_ptr<Registry>()>;
  using Teller = std::function<void(const std::string&)>;

  // `dataFolder`, the library's folder, ends in a separator. Each registration opens the
  // registry anew with `openRegistry`, so that what another copy of the program registered
  // meanwhile is kept. `tell` hears of a lock of another computer's that was broken to save the
  // list.
  TemplateLibrary(std::string dataFolder, TIniFile& settings, ShellOperations& shell,
                  Opener openRegistry, std::string executablePath, Teller tell = {});

  // Why no template can be added, deleted or recorded: the library is read-only, or the folder
  // the settings name for it is not there. nullopt when it can be changed.
  std::optional<std::string> ChangeRefusal() const;
  // The notice naming the library folder the settings give when it is not there; nullopt when
  // it is, or when the library is the data folder's own.
  std::optional<std::string> MissingNotice() const;

  // Saves the list the caller read as `base` and holds as `mine`, merged with what others saved
  // meanwhile (MergeTemplateLists), under the library's lock; returns what was saved. Throws
  // Error when the lock cannot be taken or the list cannot be read or saved.
  std::vector<std::string> SaveList(const std::vector<std::string>& base,
                                    const std::vector<std::string>& mine);

  std::string ListFilePath() const;
  std::string StoreFolder() const;  // ends in a separator

  // Why `folder` cannot become the template `name` (ChangeRefusal first) (empty: the folder's own
  // name); `isListed` tells whether a name is taken, as the template list compares names. Only a
  // folder of one project whose name survives as an extension, a settings key and a folder name,
  // and which is not in the store yet, can.
  std::optional<std::string> AddRefusal(const std::string& folder, const UserFolders& user,
                                        const std::function<bool(const std::string&)>& isListed,
                                        const std::string& name = {}) const;

  // The templates listed now, read from the list file; a missing file is an empty list. Throws
  // Error when it cannot be read, or holds a NUL byte (saving it would lose what follows).
  std::vector<std::string> ReadList() const;

  struct Recorded {
    std::string mainFile;
    bool autoOpen = false;
    bool fill = false;
    bool operator==(const Recorded&) const = default;
  };

  struct Addition {
    std::optional<std::string> name;  // the new template's name; nullopt when none was added
    std::string failure;              // why not; empty when the user cancelled the copy
  };
  // Copies `folder` into the store as the template `name` (empty: the folder's own name),
  // records `recorded` unless it is empty, registers its file type and lists it, whole or not at
  // all: what was done is taken back when a step fails. A refused registration, record or list
  // throws Error.
  Addition Add(NativeWindow owner, const std::string& folder, const std::string& name,
               const Recorded& recorded);
  Addition Add(NativeWindow owner, const std::string& folder) {
    return Add(owner, folder, {}, Recorded());
  }

  // The store may hold a folder by the name `folder` would get: one a removed template left, or
  // one laid there by hand. Then this is the question that offers to make a template of it
  // instead of copying, naming where it is; nullopt when there is none.
  std::optional<std::string> StoredFolderQuestion(const std::string& folder,
                                                  const std::string& name = {}) const;
  // Makes the store's folder of that name a template, copying nothing, as Add does.
  Addition AddStored(const std::string& folder, const std::string& name, const Recorded& recorded);
  Addition AddStored(const std::string& folder) { return AddStored(folder, {}, Recorded()); }

  // The name a template made of `folder` gets: the one given, else the folder's own.
  static std::string NameFor(const std::string& folder, const std::string& given);

  // What is said when the store holds a file or folder by the name `name`.
  std::string TakenMessage(const std::string& name) const;

  // The question to ask before `name` leaves the list.
  std::string RemoveQuestion(const std::string& name) const;
  // Unlists the template, unregisters its file type and forgets what is recorded for it; its
  // folder stays in the store unless `deleteFolder`. Throws Error, having changed nothing, when
  // the list cannot be saved; and when the folder cannot be deleted, with the rest done.
  void Remove(const std::string& name, bool deleteFolder = false);
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
  // Records, registers and lists `name`, whose folder is in the store, taking back what was done
  // of it when a step fails.
  void MakeTemplate(const std::string& name, const Recorded& recorded);
  // Why `recorded` cannot be recorded for `name`; nullopt when it can.
  std::optional<std::string> RecordRefusal(const std::string& name, const Recorded& recorded) const;
  // As RecordRefusal for a new template, whose main file must also be there; none without one.
  std::optional<std::string> AdditionRefusal(const std::string& name,
                                             const Recorded& recorded) const;
  void Write(const std::string& name, const Recorded& recorded);
  void Forget(const std::string& name);
  // Reads the list, lets `change` alter it and saves it.
  void ChangeList(const std::function<void(std::vector<std::string>&)>& change);
  bool StoreFolderExists(const std::string& name) const;
  RegistrationContext Context(Registry& registry);
  void Register(const std::string& name);
  void Unregister(const std::string& name);

  std::string dataFolder_;
  TIniFile& settings_;
  ShellOperations& shell_;
  Opener openRegistry_;
  std::string executablePath_;
  Teller tell_;
};

}  // namespace trelik
