#include "creation/project_creation.h"

#include <algorithm>
#include <vector>

#include "common/file_name_rules.h"
#include "common/system_error.h"
#include "creation/creation_notices.h"
#include "creation/creation_plan.h"
#include "creation/launcher_name.h"
#include "creation/token_fill.h"
#include "library/file_access.h"
#include "library/file_claim.h"
#include "library/library_files.h"
#include "library/library_folder.h"
#include "library/settings_sections.h"

namespace trelik {
namespace {

// A launcher made by a New menu is empty (Windows) or holds one line end (our Linux templates);
// anything longer, or holding more than blanks, is a file of the user's opened by mistake.
constexpr std::size_t kLauncherLimit = 16;
constexpr std::string_view kLauncherBlanks = " \t\r\n";

// What the copy's finish step did inside the copy before it appeared.
struct Finished {
  std::string mainFile;  // the main file's name in the copy now
  std::vector<std::string> refusedNames;
  std::vector<std::string> problems;
  bool abandoned = false;  // a script's copy was given up before it appeared
};

// Why the launcher cannot be used, if it cannot. A launcher that cannot be opened at all is
// used unclaimed, and kept; only a command line can name one that is not there.
std::optional<std::string> LauncherProblem(const std::string& launcher, const FileClaim& claim,
                                           ShellOperations& shell) {
  if (claim.Failure() == std::errc::device_or_resource_busy) {
    return Told(CreationNotice::kLauncherBusy, LauncherBusyText(launcher), LauncherFate::kKept);
  }
  if (!shell.IsExistingFile(launcher)) {
    const std::error_code& error = claim.Failure();
    return Told(!error || NamesNothing(error) ? CreationNotice::kLauncherMissing
                                              : CreationNotice::kLauncherUnreachable,
                MissingLauncherText(launcher, error), LauncherFate::kKept);
  }
  return std::nullopt;
}

// Settings taken as empty would drop the recorded main file and the filling without a word.
bool SettingsReadable(const CreationServices& services, LauncherFate fate) {
  const auto problem = services.settings.ReadProblem();
  if (problem) {
    services.showMessage(Told(CreationNotice::kSettingsUnreadable,
                              UnreadableSettingsText(services.settings.Path(), *problem), fate));
  }
  return !problem;
}

bool Exists(const CreationServices& services, const std::string& path) {
  return services.shell.IsExistingFile(path) || services.shell.IsExistingFolder(path);
}

// Nothing at all at the template's folder means there is no such template.
std::string CopyFailureCause(const std::string& templateName, const std::string& templateFolder,
                             const std::string& failure, const CreationServices& services) {
  return Exists(services, templateFolder)
             ? failure
             : "Template \"" + templateName + "\" is not in the library";
}

// Why the launcher must stay once the project is made, if it must: it is deleted only when it
// holds nothing a user could have written.
std::optional<std::string> WhyLauncherStays(const std::string& launcher,
                                            const CreationServices& services) {
  const std::string name = FileNamePart(launcher, services.separators);
  const FileRead start = services.shell.ReadFileStart(launcher, kLauncherLimit + 1);
  if (start.failure) {
    return Told(CreationNotice::kLauncherUnreadable, LauncherUnreadableText(name, start.failure),
                LauncherFate::kKept);
  }
  if (start.bytes.size() > kLauncherLimit ||
      start.bytes.find_first_not_of(kLauncherBlanks) != std::string::npos) {
    return Told(CreationNotice::kLauncherHoldsData, LauncherHoldsDataText(name),
                LauncherFate::kKept);
  }
  return std::nullopt;
}

// Whether a name is taken in `folder`, from one listing of it; a folder that cannot be listed
// is asked name by name.
std::function<bool(const std::string&)> TakenNamesIn(const std::string& folder,
                                                     const CreationServices& services) {
  FolderEntries listing = services.shell.ReadFolderEntries(folder);
  if (listing.failure) {
    return [&shell = services.shell, folder](const std::string& name) {
      return shell.IsExistingFile(folder + name) || shell.IsExistingFolder(folder + name);
    };
  }
  return [entries = std::move(listing.entries),
          &separators = services.separators](const std::string& name) {
    return std::ranges::any_of(entries, [&](const FolderEntry& entry) {
      return SameFileName(entry.name, name, separators);
    });
  };
}

PlanInput InputFor(const std::string& templateName, const std::string& destination,
                   const CreationServices& services) {
  return {.templateName = templateName,
          .recordedMainFile = services.settings.ReadText(kMainFileSection, templateName, ""),
          .fill = services.settings.ReadFlag(kFillSection, templateName, false),
          .destination = destination,
          .isTaken = TakenNamesIn(destination, services),
          .separators = services.separators};
}

// Renames an entry inside the copy at `copy`; returns the name it has afterwards.
std::string RenameInCopy(const std::string& copy, const std::string& from, const std::string& to,
                         const CreationServices& services, std::vector<std::string>& problems) {
  const std::error_code error = services.shell.RenamePath(JoinPath(copy, from, services.separators),
                                                          JoinPath(copy, to, services.separators));
  if (!error) return to;
  problems.push_back(RenameProblem(from, to, error));
  return from;
}

// Runs on the complete copy at `copyPath` before it appears as `arrivalName`: fills in its
// tokens, with the names the project will have, and renames its main file. A script's project
// that cannot be made as asked is abandoned here, so that it never appears.
std::string FinishCopy(const CreationPlan& plan, const std::string& copyPath,
                       const std::string& arrivalName, const CreationServices& services,
                       Finished& finished) {
  ProjectTokens tokens = TokensFor({plan.templateName, arrivalName, plan.fileToken, plan.mainFile},
                                   CurrentLocalTime(), services.userName, services.separators);
  const TreeFill fill =
      FillTokensInTree(copyPath, tokens, plan.fill, services.shell, services.separators);
  if (!fill.failure.empty()) return fill.failure;
  finished.refusedNames = fill.refused;
  const std::string& main = plan.mainFile;
  if (HoldsToken(main, tokens.For(main)) &&
      std::find(fill.refused.begin(), fill.refused.end(), main) == fill.refused.end()) {
    finished.mainFile = FillTokens(main, tokens.For(main));
  }
  if (!plan.fileStem.empty()) {
    finished.mainFile =
        RenameInCopy(copyPath, finished.mainFile,
                     plan.fileStem + ExtensionPart(finished.mainFile, services.separators),
                     services, finished.problems);
  }
  finished.abandoned = plan.allOrNothing && !finished.problems.empty();
  return finished.abandoned ? "abandoned" : "";
}

// Copies the template into the plan's destination, fills in its tokens and renames it, all
// before the copy appears, so that it appears whole under its final name; then says what went
// wrong and opens the main file. Nothing is opened unless the copy arrived: the names would
// otherwise act on whatever of the user's stands there. `fate` is what becomes of the launcher
// once the project is made. The project's folder, or nullopt when nothing was made.
std::optional<std::string> MakeProject(const CreationPlan& plan, const std::string& appDir,
                                       NativeWindow owner, const CreationServices& services,
                                       LauncherFate fate) {
  const LauncherFate unmade = fate == LauncherFate::kNone ? fate : LauncherFate::kKept;
  const auto say = [&services](CreationNotice kind, const std::string& text, LauncherFate told) {
    services.showMessage(Told(kind, text, told));
  };
  for (const auto& notice : plan.notices) say(CreationNotice::kMainFileNotPlain, notice, fate);
  if (plan.refusal) {
    say(CreationNotice::kNameUnusable, *plan.refusal, unmade);
    return std::nullopt;
  }
  const std::string templateFolder = TemplateFolder(appDir, plan.templateName, services.separators);
  Finished finished{.mainFile = plan.mainFile};
  const CopyResult copy = services.shell.CopyFolder(
      owner, templateFolder, plan.destination,
      [&](const std::string& copyPath, const std::string& arrivalName) {
        return FinishCopy(plan, copyPath, arrivalName, services, finished);
      },
      plan.wantedFolder);
  if (copy.cancelled) {
    say(CreationNotice::kCopyCancelled, CopyCancelledText(), unmade);
    return std::nullopt;
  }
  if (finished.abandoned) {
    say(CreationNotice::kRenameFailed, ProblemsText(finished.problems, "Nothing was made."),
        unmade);
    return std::nullopt;
  }
  if (!copy.arrivedAt) {
    say(CreationNotice::kCopyFailed,
        CopyFailureText(
            CopyFailureCause(plan.templateName, templateFolder, copy.failure, services)),
        unmade);
  }
  if (copy.wantedNameFailure) {
    finished.problems.push_back(FolderNameProblem(plan.wantedFolder, copy.wantedNameFailure));
  }
  const LauncherFate told = copy.arrivedAt ? fate : unmade;
  if (plan.missingMainFile) say(CreationNotice::kNoMainFileInfo, NoMainFileInfoText(), told);
  if (!copy.arrivedAt || plan.missingMainFile) return copy.arrivedAt;
  const std::string& folder = *copy.arrivedAt;
  if (!finished.refusedNames.empty()) {
    say(CreationNotice::kNamesLeft, RefusedNamesText(finished.refusedNames), fate);
  }
  if (plan.nameProblem) {
    say(CreationNotice::kNameUnusable, *plan.nameProblem, fate);
    return folder;
  }
  // A script's folder name taken between the plan and the copy's arrival: made as asked or not at
  // all.
  if (plan.allOrNothing && !finished.problems.empty()) {
    static_cast<void>(services.shell.RemoveFolder(folder));
    say(CreationNotice::kRenameFailed, ProblemsText(finished.problems, "Nothing was made."),
        unmade);
    return std::nullopt;
  }
  if (plan.open) {
    const std::string mainFile = JoinPath(folder, finished.mainFile, services.separators);
    if (const std::error_code error =
            services.shell.ShellOpen(owner, "open", mainFile, ShowCommand::kShow)) {
      say(CreationNotice::kMainFileNotOpened, MainFileNotOpenedText(mainFile, error), fate);
    }
  }
  if (!finished.problems.empty()) {
    say(CreationNotice::kRenameFailed,
        ProblemsText(finished.problems, "The new project is in \"" +
                                            FileNamePart(folder, services.separators) + "\"."),
        fate);
  }
  return folder;
}

}  // namespace

std::optional<std::string> CreateProjectForScript(const ScriptRequest& request,
                                                  const CreationServices& services) {
  if (!SettingsReadable(services, LauncherFate::kNone)) return std::nullopt;
  PlanInput input = InputFor(request.templateName, request.folder, services);
  input.typedName = request.typedName;
  input.autoOpenChecked = request.open;
  input.allOrNothing = true;
  return MakeProject(PlanCreation(input), request.appDir, nullptr, services, LauncherFate::kNone);
}

std::string TemplateFolder(const std::string& appDir, const std::string& templateName,
                           const PathSeparators& separators) {
  return appDir + kTemplateStoreFolder + separators.joiner + templateName;
}

PlanInput LauncherPlanInput(const std::string& launcherPath, const CreationServices& services) {
  const std::string launcher = AbsolutePath(launcherPath);
  return InputFor(ExtractProjectName(launcher, services.separators),
                  DirectoryPart(launcher, services.separators), services);
}

std::string CreateProject(const CreationRequest& request, const CreationServices& services) {
  const std::string launcher = AbsolutePath(request.launcherPath);
  const std::string templateName = ExtractProjectName(launcher, services.separators);
  if (templateName.empty()) return templateName;
  // Held until the launcher is deleted: a second window opened on it must not make a second
  // project from it.
  const FileClaim claim(launcher);
  if (const auto problem = LauncherProblem(launcher, claim, services.shell)) {
    services.showMessage(*problem);
    return templateName;
  }
  // The launcher stays for another try.
  if (!SettingsReadable(services, LauncherFate::kKept)) return templateName;
  // A library that is away (an unmounted share) is named, as everywhere else, not taken for a
  // template missing from it.
  const std::string library = WithoutTrailingSeparators(request.appDir, services.separators);
  if (IsLibraryElsewhere(services.settings) && !services.shell.IsExistingFolder(library)) {
    services.showMessage(
        Told(CreationNotice::kLibraryMissing, MissingLibraryText(library), LauncherFate::kKept));
    return templateName;
  }
  // Known before anything is said, so that every notice can tell what becomes of the launcher.
  const auto staying = WhyLauncherStays(launcher, services);
  PlanInput input = LauncherPlanInput(launcher, services);
  input.typedName = request.typedName;
  input.autoOpenChecked = request.autoOpenChecked;
  const CreationPlan plan = PlanCreation(input);
  // After a failed copy the launcher stays, so that the user can try again.
  if (!MakeProject(plan, request.appDir, request.owner, services,
                   staying ? LauncherFate::kKept : LauncherFate::kRemoved)) {
    return templateName;
  }
  if (staying) {
    services.showMessage(*staying);
  } else {
    static_cast<void>(services.shell.RemoveFile(launcher));  // a launcher left is harmless
  }
  return templateName;
}

}  // namespace trelik
