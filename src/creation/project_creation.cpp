#include "creation/project_creation.h"

#include <algorithm>
#include <vector>

#include "common/file_name_rules.h"
#include "common/system_error.h"
#include "creation/creation_plan.h"
#include "creation/launcher_name.h"
#include "creation/token_fill.h"
#include "library/file_access.h"
#include "library/file_claim.h"
#include "library/library_files.h"
#include "library/settings_sections.h"

namespace trelik {
namespace {

// A launcher made by a New menu is empty (Windows) or holds one line end (our Linux templates);
// anything longer, or holding more than blanks, is a file of the user's opened by mistake.
constexpr std::size_t kLauncherLimit = 16;
constexpr std::string_view kLauncherBlanks = " \t\r\n";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What the copy's finish step did inside the copy before it appeared.
struct Finished {
  std::string mainFile;  // the main file's name in the copy now
  std::vector<std::string> refusedNames;
  std::vector<std::string> problems;
  bool abandoned = false;  // a script's copy was given up before it appeared
};

// Not every launcher that cannot be found is missing: its folder may be out of reach.
std::string MissingLauncherText(const std::string& launcher, const std::error_code& openError) {
  if (!openError || NamesNothing(openError)) {
    return "The launcher " + Quoted(launcher) + " does not exist, so no project was created.";
  }
  return "The launcher " + Quoted(launcher) + " cannot be reached (" + SystemErrorText(openError) +
         "), so no project was created.";
}

// Why the launcher cannot be used, if it cannot. A launcher that cannot be opened at all is
// used unclaimed, and kept; only a command line can name one that is not there.
std::optional<std::string> LauncherProblem(const std::string& launcher, const FileClaim& claim,
                                           ShellOperations& shell) {
  if (claim.Failure() == std::errc::device_or_resource_busy) {
    return "Another window is already creating a project from " + Quoted(launcher) +
           ", so none was created here.";
  }
  if (!shell.IsExistingFile(launcher)) return MissingLauncherText(launcher, claim.Failure());
  return std::nullopt;
}

// Settings taken as empty would drop the recorded main file and the filling without a word.
bool SettingsReadable(const CreationServices& services) {
  const auto problem = services.settings.ReadProblem();
  if (problem) {
    services.showMessage("The settings file " + Quoted(services.settings.Path()) +
                         " cannot be read (" + *problem + "), so no project was created.");
  }
  return !problem;
}

bool Exists(const CreationServices& services, const std::string& path) {
  return services.shell.IsExistingFile(path) || services.shell.IsExistingFolder(path);
}

std::string CopyFailureText(const std::string& templateName, const std::string& templateFolder,
                            const std::string& failure, const CreationServices& services) {
  std::string text = std::string("Error Happened,report to ") + kSupportAddress + " Please !";
  // Nothing at all at the template's folder means there is no such template.
  const std::string cause = Exists(services, templateFolder)
                                ? failure
                                : "Template " + Quoted(templateName) + " is not in the library";
  if (!cause.empty()) text.append("\n").append(cause);
  return text;
}

std::string FolderNameProblem(const std::string& wanted, const std::error_code& error) {
  if (error == std::errc::file_exists) return Quoted(wanted) + " already exists here.";
  return "The project folder could not be named " + Quoted(wanted) + ": " + SystemErrorText(error) +
         ".";
}

std::string RefusedNamesText(const std::vector<std::string>& names) {
  std::string text =
      "These names were left as they are, since filled in they would be empty, not a file name, "
      "or another entry's name:";
  for (const auto& name : names) text.append("\n").append(name);
  return text;
}

std::string ProblemsText(const std::vector<std::string>& problems, const std::string& outcome) {
  std::string text;
  for (const auto& problem : problems) text.append(problem).append(" ");
  return text + outcome;
}

// Deleted only when it holds nothing a user could have written.
void RemoveLauncher(const std::string& launcher, const CreationServices& services) {
  const std::string name = Quoted(FileNamePart(launcher, services.separators));
  const FileRead start = services.shell.ReadFileStart(launcher, kLauncherLimit + 1);
  if (start.failure) {
    services.showMessage(name + " was kept because it could not be read.\n" +
                         SystemErrorText(start.failure));
  } else if (start.bytes.size() > kLauncherLimit ||
             start.bytes.find_first_not_of(kLauncherBlanks) != std::string::npos) {
    services.showMessage(name + " was kept because it holds data.");
  } else {
    static_cast<void>(services.shell.RemoveFile(launcher));  // a launcher left is harmless
  }
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
  problems.push_back(error == std::errc::file_exists
                         ? Quoted(to) + " already exists in the project."
                         : Quoted(from) + " could not be renamed to " + Quoted(to) + ": " +
                               SystemErrorText(error) + ".");
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
// otherwise act on whatever of the user's stands there. The project's folder, or nullopt when
// nothing was made.
std::optional<std::string> MakeProject(const CreationPlan& plan, const std::string& appDir,
                                       NativeWindow owner, const CreationServices& services) {
  const auto& say = services.showMessage;
  for (const auto& notice : plan.notices) say(notice);
  if (plan.refusal) {
    say(*plan.refusal);
    return std::nullopt;
  }
  const std::string templateFolder =
      appDir + kTemplateStoreFolder + services.separators.joiner + plan.templateName;
  Finished finished{.mainFile = plan.mainFile};
  const CopyResult copy = services.shell.CopyFolder(
      owner, templateFolder, plan.destination,
      [&](const std::string& copyPath, const std::string& arrivalName) {
        return FinishCopy(plan, copyPath, arrivalName, services, finished);
      },
      plan.wantedFolder);
  if (copy.cancelled) {
    say("The copy was cancelled: nothing was created.");
    return std::nullopt;
  }
  if (finished.abandoned) {
    say(ProblemsText(finished.problems, "Nothing was made."));
    return std::nullopt;
  }
  if (!copy.arrivedAt)
    say(CopyFailureText(plan.templateName, templateFolder, copy.failure, services));
  if (copy.wantedNameFailure) {
    finished.problems.push_back(FolderNameProblem(plan.wantedFolder, copy.wantedNameFailure));
  }
  if (plan.missingMainFile) say("No main file info ");
  if (!copy.arrivedAt || plan.missingMainFile) return copy.arrivedAt;
  const std::string& folder = *copy.arrivedAt;
  if (!finished.refusedNames.empty()) say(RefusedNamesText(finished.refusedNames));
  if (plan.nameProblem) {
    say(*plan.nameProblem);
    return folder;
  }
  // A script's folder name taken between the plan and the copy's arrival: made as asked or not at
  // all.
  if (plan.allOrNothing && !finished.problems.empty()) {
    static_cast<void>(services.shell.RemoveFolder(folder));
    say(ProblemsText(finished.problems, "Nothing was made."));
    return std::nullopt;
  }
  if (plan.open) {
    services.shell.ShellOpen(owner, "open",
                             JoinPath(folder, finished.mainFile, services.separators),
                             ShowCommand::kShow);
  }
  if (!finished.problems.empty()) {
    say(ProblemsText(
        finished.problems,
        "The new project is in " + Quoted(FileNamePart(folder, services.separators)) + "."));
  }
  return folder;
}

}  // namespace

std::optional<std::string> CreateProjectForScript(const ScriptRequest& request,
                                                  const CreationServices& services) {
  if (!SettingsReadable(services)) return std::nullopt;
  PlanInput input = InputFor(request.templateName, request.folder, services);
  input.typedName = request.typedName;
  input.autoOpenChecked = request.open;
  input.allOrNothing = true;
  return MakeProject(PlanCreation(input), request.appDir, nullptr, services);
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
  if (!SettingsReadable(services)) return templateName;  // the launcher stays for another try
  PlanInput input = LauncherPlanInput(launcher, services);
  input.typedName = request.typedName;
  input.autoOpenChecked = request.autoOpenChecked;
  const CreationPlan plan = PlanCreation(input);
  // After a failed copy the launcher stays, so that the user can try again.
  if (MakeProject(plan, request.appDir, request.owner, services))
    RemoveLauncher(launcher, services);
  return templateName;
}

}  // namespace trelik
