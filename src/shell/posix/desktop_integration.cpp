#include "shell/posix/desktop_integration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <optional>
#include <set>
#include <vector>

#include "common/folder_action.h"
#include "common/posix/unique_fd.h"
#include "common/system_error.h"
#include "library/file_access.h"
#include "library/posix/folders.h"
#include "shell/posix/desktop_files.h"
#include "shell/posix/desktop_types.h"
#include "shell/posix/folder_actions.h"
#include "shell/posix/generated_files.h"
#include "shell/posix/process.h"
#include "shell/posix/registry_store.h"
#include "shell/posix/xdg_config_edits.h"

namespace trelik {
namespace {

struct PlannedFile {
  std::string path;
  std::string contents;
  bool executable = false;
};

// Keeps the first failure only: one report names one cause, and the rest is tried all the same.
void NoteFailure(DesktopUpdate& update, const std::string& path, const std::string& reason) {
  if (update.failure.empty()) update.failure = path + ": " + reason;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// The file's contents; "" when it is missing. Nullopt when it exists but cannot be read, so
// that it is never replaced by a version that lost what it held.
std::optional<std::string> ReadOptionalFile(const std::string& path, DesktopUpdate& update) {
  FileRead contents = ReadWholeFile(path);
  if (!contents.failure) return std::move(contents.bytes);
  if (!Exists(path)) return "";
  NoteFailure(update, path, SystemErrorText(contents.failure));
  return std::nullopt;
}

// Writes the file unless it already holds `contents`; `changed` tells whether it had to. A file
// there that cannot be read (a folder, a link to a device) is never written over.
bool WriteIfChanged(const std::string& path, const std::string& contents, DesktopUpdate& update,
                    bool& changed) {
  const FileRead current = ReadWholeFile(path);
  if (!current.failure && current.bytes == contents) return true;
  if (current.failure && !IsMissingFile(current.failure)) {
    NoteFailure(update, path, SystemErrorText(current.failure));
    return false;
  }
  changed = true;
  const auto failure = ReplaceFileAtomically(path, contents);
  if (!failure) return true;
  NoteFailure(update, path, SystemErrorText(failure->error));
  return false;
}

bool WriteIfChanged(const std::string& path, const std::string& contents, DesktopUpdate& update) {
  bool ignored = false;
  return WriteIfChanged(path, contents, update, ignored);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Nullopt when the list exists but cannot be read: read as empty, it would make our files the
// user's, and written anew, it would lose them.
std::optional<std::set<std::string>> ReadManifest(const std::string& path, DesktopUpdate& update) {
  const auto text = ReadOptionalFile(path, update);
  if (!text) return std::nullopt;
  const auto lines = Lines(*text);
  return std::set<std::string>(lines.begin(), lines.end());
}

// Where our files may be: the launcher templates in the templates folder set now, or in the one
// Trelik sets when there is none.
GeneratedPlaces Places(const DesktopFolders& folders) {
  GeneratedPlaces places{
      folders.dataHome, {folders.home + "/Templates"}, folders.configHome, folders.home};
  const FileRead userDirs = ReadWholeFile(folders.configHome + "/user-dirs.dirs");
  TemplatesFolderSetting setting = ReadTemplatesFolderSetting(userDirs.bytes, folders.home);
  if (setting.state == TemplatesFolderSetting::State::kSet) {
    places.templatesFolders.push_back(std::move(setting.folder));
  }
  return places;
}

// A listed path that is there, and is not a file we wrote where we write, is the user's.
bool IsTheUsers(const std::string& path, const GeneratedPlaces& places) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  const FileRead contents = ReadWholeFile(path);
  return !S_ISREG(info.st_mode) || contents.failure ||
         !IsGeneratedFile(path, contents.bytes, places);
}

bool WriteManifest(const std::string& path, const std::set<std::string>& paths,
                   DesktopUpdate& update) {
  std::string text;
  for (const auto& entry : paths) text.append(entry).append("\n");
  return WriteIfChanged(path, text, update);
}

// The folders missing on the way to `path`, deepest first, each as generated.list names a folder.
std::vector<std::string> MissingFolders(const std::string& path) {
  std::vector<std::string> missing;
  for (std::size_t end = path.rfind('/'); end != std::string::npos && end > 0;
       end = path.rfind('/', end - 1)) {
    std::string folder = path.substr(0, end);
    if (Exists(folder)) break;
    missing.push_back(folder.append(1, kFolderMark));
  }
  return missing;
}

// What Trelik makes besides the files it writes, recorded in generated.list before it is made:
// the folders it makes on the way, and a settings file of the user's that it is the first to
// write. Only those go again, and only when nothing else is left in them.
struct MadeRecord {
  std::string manifestPath;
  std::set<std::string> ours;

  bool RecordBeforeWriting(const std::string& path, bool settingsFile, DesktopUpdate& update) {
    bool added = false;
    for (auto& folder : MissingFolders(path))
      added = ours.insert(std::move(folder)).second || added;
    if (settingsFile && !Exists(path)) added = ours.insert(path).second || added;
    return !added || WriteManifest(manifestPath, ours, update);
  }
};

// The icon theme's place for the program's PNG icon: the folder of its size, read from the PNG
// header.
std::optional<std::string> IconPath(const std::string& dataHome, const std::string& source,
                                    const std::string& contents) {
  const std::string theme = dataHome + "/icons/hicolor/";
  if (!source.ends_with(".png") || contents.size() < 24 || !contents.starts_with("\x89PNG")) {
    return std::nullopt;
  }
  const auto bigEndian = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
      value = (value << 8) | static_cast<unsigned char>(contents[i]);
    }
    return std::to_string(value);
  };
  return theme + bigEndian(16) + "x" + bigEndian(20) + "/apps/" + kIconName + ".png";
}

// Where Trelik keeps the templates folder setting it replaced, so that it can put it back.
std::string FormerTemplatesSettingPath(const DesktopFolders& folders) {
  return folders.dataHome + "/trelik/templates-setting.former";
}

std::string DefaultTemplatesFolder(const DesktopFolders& folders) {
  return ReadTemplatesFolderSetting(DefaultTemplatesSetting(), folders.home).folder;
}

// The XDG templates folder. When the user has none, it is set to ~/Templates in user-dirs.dirs,
// as "xdg-user-dirs-update --set" would, since GNOME Files, Nemo and Caja then offer no
// templates at all; the line is edited by hand, because that tool rewrites the user's comments.
// A folder the user turned off stays off, and they are told how to turn it on. Nullopt when
// there is no folder to use or user-dirs.dirs cannot be read or written.
std::optional<std::string> ProvideTemplatesFolder(const DesktopFolders& folders, MadeRecord& made,
                                                  DesktopUpdate& update,
                                                  std::vector<std::string>& notices) {
  const std::string userDirsPath = folders.configHome + "/user-dirs.dirs";
  const auto userDirs = ReadOptionalFile(userDirsPath, update);
  if (!userDirs) return std::nullopt;
  const TemplatesFolderSetting setting = ReadTemplatesFolderSetting(*userDirs, folders.home);
  switch (setting.state) {
    case TemplatesFolderSetting::State::kSet:
      return setting.folder;
    case TemplatesFolderSetting::State::kTurnedOff:
      notices.push_back("The templates folder is turned off in " + userDirsPath +
                        ", so the New menus of GNOME Files, Nemo, Caja and Thunar offer no "
                        "templates of Trelik's.\nTo turn it on, run: "
                        "xdg-user-dirs-update --set TEMPLATES ~/Templates");
      return std::nullopt;
    case TemplatesFolderSetting::State::kUnset:
      break;
  }
  // Recorded first: a run cut short must still be able to put the former setting back.
  if (!WriteIfChanged(FormerTemplatesSettingPath(folders), setting.line, update) ||
      !made.RecordBeforeWriting(userDirsPath, true, update) ||
      !WriteIfChanged(userDirsPath, SetDefaultTemplatesFolder(*userDirs), update)) {
    return std::nullopt;
  }
  return DefaultTemplatesFolder(folders);
}

// Puts back the templates folder setting that ProvideTemplatesFolder replaced, unless the user
// changed it since.
void TakeBackTemplatesFolderSetting(const DesktopFolders& folders, MadeRecord& made,
                                    DesktopUpdate& update) {
  const std::string recordPath = FormerTemplatesSettingPath(folders);
  const FileRead former = ReadWholeFile(recordPath);
  if (former.failure) return;
  const std::string userDirsPath = folders.configHome + "/user-dirs.dirs";
  const auto userDirs = ReadOptionalFile(userDirsPath, update);
  if (!userDirs) return;
  const std::vector<std::string> formerLines = Lines(former.bytes);
  const std::string formerLine = formerLines.empty() ? "" : formerLines[0];
  if (const auto restored = PutBackTemplatesFolder(*userDirs, formerLine)) {
    // A file that Trelik made and that holds nothing else goes.
    if (restored->empty() && made.ours.contains(userDirsPath)) {
      if (::unlink(userDirsPath.c_str()) != 0) {
        NoteFailure(update, userDirsPath, LastSystemErrorText());
        return;
      }
      made.ours.erase(userDirsPath);
    } else if (!WriteIfChanged(userDirsPath, *restored, update)) {
      return;
    }
    update.removed.push_back(userDirsPath + ": " + DefaultTemplatesSetting() +
                             (formerLine.empty() ? "" : " (" + formerLine + " is back)"));
  }
  if (::unlink(recordPath.c_str()) != 0) NoteFailure(update, recordPath, LastSystemErrorText());
}

std::string LeftOutNotice(const std::vector<std::string>& names) {
  std::string text =
      "These templates are not in the file manager's New Menu, and their launchers would not "
      "open with Trelik, since the desktop's files cannot hold their names: ";
  for (const auto& name : names) {
    if (&name != &names.front()) text.append(", ");
    text.append("\"").append(name).append("\"");
  }
  return text.append(
      ".\nProjects can still be made from them with \"trelik --new\"; add them again from "
      "folders with plainer names to have their entries.");
}

// Each notice is given once: those given are kept, each ending in a NUL, and only new ones go
// into `update`.
void GiveNoticesOnce(const DesktopFolders& folders, const std::vector<std::string>& notices,
                     DesktopUpdate& update) {
  const std::string path = folders.dataHome + "/trelik/notices.list";
  if (notices.empty()) {
    static_cast<void>(::unlink(path.c_str()));
    return;
  }
  const std::string given = std::string(1, '\0') + ReadWholeFile(path).bytes;
  std::string text;
  for (const auto& notice : notices) {
    text.append(notice).append(1, '\0');
    if (given.find('\0' + notice + '\0') == std::string::npos) update.notices.push_back(notice);
  }
  static_cast<void>(WriteIfChanged(path, text, update));
}

std::vector<PlannedFile> PlanFiles(const std::vector<DesktopType>& types,
                                   const DesktopFolders& folders, const std::string& executablePath,
                                   const std::string& iconSource,
                                   const std::optional<std::string>& templatesFolder,
                                   DesktopUpdate& update) {
  std::vector<PlannedFile> files;
  if (types.empty()) return files;
  files.push_back({folders.dataHome + "/mime/packages/trelik.xml", MimePackageText(types)});
  files.push_back({folders.dataHome + "/applications/" + kDesktopEntryName,
                   ApplicationEntryText(types, executablePath)});
  if (!iconSource.empty()) {
    const FileRead icon = ReadWholeFile(iconSource);
    const auto iconPath =
        icon.failure ? std::nullopt : IconPath(folders.dataHome, iconSource, icon.bytes);
    if (iconPath) {
      files.push_back({*iconPath, icon.bytes});
    } else {
      NoteFailure(update, iconSource,
                  icon.failure ? SystemErrorText(icon.failure) : "not a PNG image");
    }
  }
  for (auto& action : FolderActionFiles(folders.dataHome, folders.configHome, executablePath)) {
    files.push_back({std::move(action.path), std::move(action.contents), action.executable});
  }
  const std::string dolphinFolder = folders.dataHome + "/templates/";
  for (const auto& type : types) {
    if (!type.inNewMenu) continue;
    const std::string launcher = LauncherTemplateName(type);
    if (templatesFolder) {
      files.push_back({*templatesFolder + "/" + launcher, kLauncherTemplateContents});
    }
    // Dolphin only reads link entries; the link's target is kept out of sight beside them.
    const std::string source = ".source/" + launcher;
    files.push_back({dolphinFolder + source, kLauncherTemplateContents});
    files.push_back({dolphinFolder + DolphinLinkName(type), DolphinLinkText(type, source)});
  }
  return files;
}

// Lets whoever may read the file run it, as a script or a menu that must be executable.
void MakeExecutable(const std::string& path, DesktopUpdate& update) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return;
  const mode_t mode = (info.st_mode & 07777) | ((info.st_mode & 0444) >> 2);
  if (mode != (info.st_mode & 07777) && ::chmod(path.c_str(), mode) != 0) {
    NoteFailure(update, path, LastSystemErrorText());
  }
}

// Adds Trelik's folder action to the user's Thunar actions, or takes it out once nothing of
// Trelik's is registered; the user's own actions stay as they are. A user without actions of
// their own sees the system's, so they are where ours is added.
void UpdateThunarActions(const DesktopFolders& folders, const std::string& executablePath,
                         bool offered, MadeRecord& made, DesktopUpdate& update) {
  const std::string path = ThunarActionsPath(folders.configHome);
  const auto current = ReadOptionalFile(path, update);
  if (!current || (current->empty() && !offered)) return;
  const FileRead system = ReadWholeFile(kSystemThunarActionsPath);
  const std::string base = system.failure ? std::string(kEmptyThunarActions) : system.bytes;
  if (!offered) {
    const std::string without = WithoutThunarAction(*current);
    if (without == *current) return;
    if (made.ours.contains(path) && without == base) {
      if (::unlink(path.c_str()) != 0) return NoteFailure(update, path, LastSystemErrorText());
      made.ours.erase(path);
    } else if (!WriteIfChanged(path, without, update)) {
      return;
    }
    update.removed.push_back(path + ": " + std::string(kFolderActionLabel));
    return;
  }
  const auto with = WithThunarAction(current->empty() ? base : *current, executablePath);
  if (!with) {
    return NoteFailure(update, path, "holds no list of actions, so Trelik's was not added");
  }
  if (*with != *current && made.RecordBeforeWriting(path, true, update)) {
    static_cast<void>(WriteIfChanged(path, *with, update));
  }
}

// Runs an installed tool on a folder and waits for it; a tool that is not installed is no
// failure, the desktop then simply catches up later.
void RunToolIfInstalled(const std::string& tool, const std::string& folder, DesktopUpdate& update) {
  const RunOutcome outcome = RunAndWait({tool, folder});
  if (outcome.succeeded || IsNotFound(outcome.error)) return;
  NoteFailure(
      update, folder,
      tool + (outcome.error ? " could not be run: " + SystemErrorText(outcome.error) : " failed"));
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Takes our lines out of mimeapps.list and adds the defaults of `mimeTypes`; what went is
// recorded.
void UpdateDefaultApplications(const DesktopFolders& folders,
                               const std::vector<std::string>& mimeTypes, MadeRecord& made,
                               DesktopUpdate& update) {
  const std::string path = folders.configHome + "/mimeapps.list";
  const auto mimeapps = ReadOptionalFile(path, update);
  if (!mimeapps || (mimeapps->empty() && mimeTypes.empty())) return;
  const std::string edited = EditDefaultApplications(
      EditDefaultApplications(*mimeapps, {}, kMimePrefix, kFormerDesktopEntryName), mimeTypes,
      kMimePrefix, kDesktopEntryName);
  if (edited == *mimeapps) return;
  // A file that Trelik made, left with nothing but its own section's heading, goes.
  const std::vector<std::string> kept = Lines(edited);
  if (made.ours.contains(path) &&
      std::ranges::all_of(kept, [](const std::string& line) { return line.starts_with('['); })) {
    if (::unlink(path.c_str()) != 0) return NoteFailure(update, path, LastSystemErrorText());
    made.ours.erase(path);
  } else if (!made.RecordBeforeWriting(path, true, update) ||
             !WriteIfChanged(path, edited, update)) {
    return;
  }
  for (const auto& line : Lines(*mimeapps)) {
    if (std::ranges::find(kept, line) == kept.end()) update.removed.push_back(path + ": " + line);
  }
}

// The user's settings files whose lines Trelik edits: generated.list names one that Trelik made.
bool IsSettingsFile(const std::string& path, const DesktopFolders& folders) {
  return path == folders.configHome + "/user-dirs.dirs" ||
         path == folders.configHome + "/mimeapps.list" ||
         path == ThunarActionsPath(folders.configHome);
}

// Removes a folder that Trelik made when nothing is left in it but empty folders and what the
// desktop's tools built from our files there.
void RemoveMadeFolder(const std::string& folder, const GeneratedPlaces& places) {
  const UniqueFd handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  std::vector<std::string> names;
  if (!handle.IsOpen() || ReadFolderNames(handle.Get(), names)) return;
  const auto caches = ToolCachesIn(folder, places);
  std::vector<std::string> files;
  std::vector<std::string> subfolders;
  for (const auto& name : names) {
    if (IsDotEntry(name)) continue;
    struct stat info {};
    if (::fstatat(handle.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return;
    // The tools' own folders (the MIME database's media types) go when empty; the user's
    // folders in a folder of ours stay, and so does it.
    if (S_ISDIR(info.st_mode) && !caches.empty()) {
      subfolders.push_back(name);
    } else if (S_ISREG(info.st_mode) && std::ranges::find(caches, name) != caches.end()) {
      files.push_back(name);
    } else {
      return;
    }
  }
  for (const auto& name : subfolders) {
    if (::unlinkat(handle.Get(), name.c_str(), AT_REMOVEDIR) != 0) return;
  }
  for (const auto& name : files) ::unlinkat(handle.Get(), name.c_str(), 0);
  ::rmdir(folder.c_str());
}

// Once nothing of Trelik's is registered, the folders it made go, deepest first, each when
// nothing of anyone else's is left in it; the rest stay recorded for a later run.
void RemoveMadeFolders(const GeneratedPlaces& places, std::set<std::string>& ours,
                       DesktopUpdate& update) {
  std::vector<std::string> made;
  std::ranges::copy_if(ours, std::back_inserter(made),
                       [](const std::string& path) { return path.ends_with(kFolderMark); });
  std::ranges::sort(made,
                    [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const auto& entry : made) {
    const std::string folder = entry.substr(0, entry.size() - 1);
    const bool existed = Exists(folder);
    if (existed) RemoveMadeFolder(folder, places);
    if (Exists(folder)) continue;
    ours.erase(entry);
    if (existed) update.removed.push_back(entry);
  }
}

}  // namespace

DesktopUpdate RegenerateDesktopIntegration(Registry& registry, const DesktopFolders& folders,
                                           const std::string& executablePath,
                                           const std::string& iconSource,
                                           const DesktopProgress& progress) {
  const DesktopTypes read = ReadDesktopTypes(registry, executablePath);
  const std::vector<DesktopType>& types = read.types;
  DesktopUpdate update;
  std::vector<std::string> notices;
  if (!read.leftOut.empty()) notices.push_back(LeftOutNotice(read.leftOut));

  // A file of one of our names that we did not write is the user's and stays untouched.
  MadeRecord made{folders.dataHome + "/trelik/generated.list", {}};
  const auto listed = ReadManifest(made.manifestPath, update);
  if (!listed) return update;
  // What the list names but we did not write, a line added by hand or a file rewritten since, is
  // left as it is; it is named once, as it goes off the list.
  std::set<std::string> previous;
  const GeneratedPlaces places = Places(folders);
  for (const auto& path : *listed) {
    // What Trelik made and someone removed since is no longer its to remove.
    if (path.ends_with(kFolderMark)) {
      if (!IsGeneratedFolder(path.substr(0, path.size() - 1), places)) {
        update.leftAlone.push_back(path);
      } else if (Exists(path)) {
        made.ours.insert(path);
      }
    } else if (IsSettingsFile(path, folders)) {
      if (Exists(path)) made.ours.insert(path);
    } else if (IsTheUsers(path, places)) {
      update.leftAlone.push_back(path);
    } else {
      previous.insert(path);
    }
  }

  std::optional<std::string> templatesFolder;
  if (std::ranges::any_of(types, &DesktopType::inNewMenu)) {
    templatesFolder = ProvideTemplatesFolder(folders, made, update, notices);
  }
  const std::vector<PlannedFile> planned =
      PlanFiles(types, folders, executablePath, iconSource, templatesFolder, update);
  std::vector<PlannedFile> ownFiles;
  std::ranges::copy_if(planned, std::back_inserter(ownFiles), [&](const PlannedFile& file) {
    return previous.contains(file.path) || !Exists(file.path);
  });

  // What is about to be written is recorded first, so that a run cut short leaves no file of
  // ours that a later run would take for the user's.
  std::set<std::string>& ours = made.ours;
  ours.insert(previous.begin(), previous.end());
  for (const auto& file : ownFiles) {
    ours.insert(file.path);
    for (auto& folder : MissingFolders(file.path)) ours.insert(std::move(folder));
  }
  if (!WriteManifest(made.manifestPath, ours, update)) return update;

  // Each file a step, and each of the two tools one.
  const std::size_t steps = ownFiles.size() + 2;
  const auto tell = [&progress, steps](std::size_t done) {
    if (progress) progress(done, steps);
  };
  // The desktop's caches are rebuilt only when one of our files changed (or a cache is
  // missing), since the base type is registered again at every start.
  bool changed = false;
  for (std::size_t i = 0; i < ownFiles.size(); ++i) {
    tell(i);
    if (WriteIfChanged(ownFiles[i].path, ownFiles[i].contents, update, changed) &&
        ownFiles[i].executable) {
      MakeExecutable(ownFiles[i].path, update);
    }
  }
  std::set<std::string> kept;
  for (const auto& file : ownFiles) kept.insert(file.path);
  for (const auto& path : previous) {
    if (kept.contains(path)) continue;
    changed = true;
    if (::unlink(path.c_str()) == 0) {
      update.removed.push_back(path);
      ours.erase(path);
    } else if (errno == ENOENT) {
      ours.erase(path);
    } else {
      NoteFailure(update, path, LastSystemErrorText());
    }
  }
  const std::string dolphinSources = folders.dataHome + "/templates/.source";
  if (ours.contains(dolphinSources + kFolderMark)) ::rmdir(dolphinSources.c_str());
  static_cast<void>(WriteManifest(made.manifestPath, ours, update));
  // Nothing of Trelik's is registered any more: the user asked for all of it to go.
  if (types.empty()) TakeBackTemplatesFolderSetting(folders, made, update);
  GiveNoticesOnce(folders, notices, update);

  std::vector<std::string> mimeTypes;
  for (const auto& type : types) mimeTypes.push_back(type.mimeType);
  UpdateDefaultApplications(folders, mimeTypes, made, update);
  UpdateThunarActions(folders, executablePath, !types.empty(), made, update);

  tell(steps - 2);
  if (IsFolder(folders.dataHome + "/mime/packages") &&
      (changed || !Exists(folders.dataHome + "/mime/mime.cache"))) {
    RunToolIfInstalled("update-mime-database", folders.dataHome + "/mime", update);
  }
  tell(steps - 1);
  if (IsFolder(folders.dataHome + "/applications") &&
      (changed || !Exists(folders.dataHome + "/applications/mimeinfo.cache"))) {
    RunToolIfInstalled("update-desktop-database", folders.dataHome + "/applications", update);
  }
  if (types.empty()) RemoveMadeFolders(places, ours, update);
  static_cast<void>(WriteManifest(made.manifestPath, ours, update));
  tell(steps);
  return update;
}

DesktopUpdate RegenerateFromStore(const std::string& storePath, const DesktopFolders& folders,
                                  const std::string& executablePath, const std::string& iconSource,
                                  const DesktopProgress& progress) {
  RegistryStore store(storePath);
  return RegenerateDesktopIntegration(store, folders, executablePath, iconSource, progress);
}

}  // namespace trelik
