#include "creation/project_creation.h"

#include <algorithm>
#include <vector>

#include "common/file_name_rules.h"
#include "common/system_error.h"
#include "common/user_name.h"
#include "creation/entered_name.h"
#include "creation/launcher_name.h"
#include "creation/token_fill.h"
#include "creation/token_values.h"
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

// Not every launcher that cannot be found is missing: its folder may be out of reach.
std::string MissingLauncherText(const std::string& launcher, const std::error_code& openError) {
  if (!openError || NamesNothing(openError)) {
    return "The launcher " + Quoted(launcher) + " does not exist, so no project was created.";
  }
  return "The launcher " + Quoted(launcher) + " cannot be reached (" + SystemErrorText(openError) +
         "), so no project was created.";
}

class Sequence {
 public:
  Sequence(const CreationRequest& request, const CreationServices& services)
      : request_(request), services_(services) {}

  std::string Run() {
    const std::string launcher = AbsolutePath(request_.launcherPath);
    const std::string projectName = ExtractProjectName(launcher, services_.separators);
    if (projectName.empty()) return projectName;
    // Held until the launcher is deleted: a second window opened on it must not make a second
    // project from it. A launcher that cannot be opened at all is used unclaimed, and kept.
    const FileClaim claim(launcher);
    if (claim.Failure() == std::errc::device_or_resource_busy) {
      Say("Another window is already creating a project from " + Quoted(launcher) +
          ", so none was created here.");
      return projectName;
    }
    // Only a command line can name a launcher that is not there; its folders are not made.
    if (!services_.shell.IsExistingFile(launcher)) {
      Say(MissingLauncherText(launcher, claim.Failure()));
      return projectName;
    }

    if (!SettingsReadable()) return projectName;  // the launcher stays for another try
    launcherFolder_ = DirectoryPart(launcher, services_.separators);
    Prepare(projectName);
    // After a failed copy the launcher stays, so that the user can try again.
    if (Create()) RemoveLauncher(launcher);
    return projectName;
  }

  std::optional<std::string> RunForScript(const ScriptRequest& script) {
    script_ = true;
    if (!SettingsReadable()) return std::nullopt;
    launcherFolder_ = script.folder;
    Prepare(script.templateName);
    if (nameProblem_) {
      Say(*nameProblem_);
    } else if (name_.form == NameForm::kFileOnly && mainFile_.empty()) {
      Say("No main file is recorded for " + Quoted(projectName_) + ", so none can be named " +
          Quoted(name_.filePart) + ".");
    } else if (renameFolder_ && Exists(launcherFolder_ + name_.folderPart)) {
      Say(Quoted(launcherFolder_ + name_.folderPart) + " already exists.");
    } else {
      if (name_.form == NameForm::kPlainName || name_.form == NameForm::kUnrecognised) {
        Say("The name " + Quoted(request_.typedName) +
            " renames nothing: FOLDER\\FILE names both, FOLDER\\ the folder, \\FILE the main "
            "file.");
      }
      const auto folder = Create();
      if (folder && problems_.empty()) return folder;
      if (folder) static_cast<void>(services_.shell.RemoveFolder(*folder));
    }
    return std::nullopt;
  }

  // Reads what the template records and sorts the typed name.
  void Prepare(const std::string& projectName) {
    projectName_ = projectName;
    mainFile_ = RecordedMainFile(projectName);
    autoOpen_ = request_.autoOpenChecked && !mainFile_.empty();
    name_ = ClassifyEnteredName(request_.typedName);
    PlanRenames();
  }

  // Copies the template into `launcherFolder_`, fills in its tokens and renames it after the
  // typed name, all before the copy appears, so that it appears whole under its final name.
  // The project's folder, or nullopt when the copy failed.
  std::optional<std::string> Create() {
    const std::string templateFolder =
        request_.appDir + kTemplateStoreFolder + Separator() + projectName_;
    const CopyResult copy = services_.shell.CopyFolder(
        request_.owner, templateFolder, launcherFolder_,
        [this](const std::string& copyPath, const std::string& arrivalName) {
          return FinishCopy(copyPath, arrivalName);
        },
        renameFolder_ ? name_.folderPart : std::string());
    if (copy.cancelled) {
      Say("The copy was cancelled: nothing was created.");
      return std::nullopt;
    }
    if (abandoned_) {
      SayProblems();
      return std::nullopt;
    }
    if (!copy.arrivedAt) ReportCopyFailure(projectName_, templateFolder, copy.failure);
    if (copy.wantedNameFailure) ReportFolderName(copy.wantedNameFailure);
    Report(copy.arrivedAt);
    if (!copy.arrivedAt) return std::nullopt;
    return folder_;
  }

 private:
  std::string Separator() const { return std::string(1, services_.separators.joiner); }
  std::string In(const std::string& folder, const std::string& name) const {
    return folder + Separator() + name;
  }
  std::string MainExtension() const { return ExtensionPart(mainFile_, services_.separators); }
  void Say(const std::string& text) const { services_.showMessage(text); }

  void ReportCopyFailure(const std::string& projectName, const std::string& templateFolder,
                         const std::string& failure) {
    std::string text = std::string("Error Happened,report to ") + kSupportAddress + " Please !";
    const bool missing = !Exists(templateFolder);
    const std::string cause =
        missing ? "Template " + Quoted(projectName) + " is not in the library" : failure;
    if (!cause.empty()) text.append("\n").append(cause);
    Say(text);
  }

  // Settings taken as empty would drop the recorded main file and the filling without a word.
  bool SettingsReadable() const {
    const auto problem = services_.settings.ReadProblem();
    if (problem) {
      Say("The settings file " + Quoted(services_.settings.Path()) + " cannot be read (" +
          *problem + "), so no project was created.");
    }
    return !problem;
  }

  // A hand-edited or damaged settings file may name a path; acting on it would move or open a
  // file of the user's outside the copy.
  std::string RecordedMainFile(const std::string& projectName) const {
    std::string mainFile = services_.settings.ReadText(kMainFileSection, projectName, "");
    if (mainFile.empty() || !FileNameProblem(mainFile, services_.separators)) return mainFile;
    Say("The main file recorded for " + Quoted(projectName) + " (" + Quoted(mainFile) +
        ") is not a plain name inside the template, so none is used.");
    return {};
  }

  // Decides which renames the typed name asks for, before the copy: the tokens name the result.
  void PlanRenames() {
    switch (name_.form) {
      case NameForm::kFolderAndFile:
        renameFolder_ = Acceptable({name_.folderPart, name_.filePart});
        renameFile_ = renameFolder_ && !mainFile_.empty();
        break;
      case NameForm::kFolderOnly:
        renameFolder_ = Acceptable({name_.folderPart});
        break;
      case NameForm::kFileOnly:
        renameFile_ = !mainFile_.empty() && Acceptable({name_.filePart});
        break;
      default:
        break;
    }
  }

  bool Exists(const std::string& path) const {
    return services_.shell.IsExistingFile(path) || services_.shell.IsExistingFolder(path);
  }

  // Runs on the complete copy at `copyPath` before it appears as `arrivalName`: fills in its
  // tokens and renames its main file. A script's project that cannot be made as asked is
  // abandoned here, so that it never appears.
  std::string FinishCopy(const std::string& copyPath, const std::string& arrivalName) {
    std::string failure = FillCopy(copyPath, arrivalName);
    if (!failure.empty()) return failure;
    if (!nameProblem_ && renameFile_) {
      mainFile_ = RenameInCopy(copyPath, mainFile_, name_.filePart + MainExtension());
    }
    if (script_ && !problems_.empty()) {
      abandoned_ = true;
      return "abandoned";
    }
    return {};
  }

  // Fills the tokens in the copy at `copyPath`, which arrives as `arrivalName`: the values are
  // the names the project will have when the renames are done.
  std::string FillCopy(const std::string& copyPath, const std::string& arrivalName) {
    TokenValues values = TimeTokens(CurrentLocalTime());
    values["template"] = projectName_;
    values["user"] = UserName();
    values["folder"] = arrivalName;
    // The recorded main file may itself be named by tokens; its own name cannot name it.
    const std::string mainName = FillTokens(mainFile_, values);
    // A typed file part names the main file even where the template records none.
    if (renameFile_ || (name_.form == NameForm::kFolderAndFile && renameFolder_)) {
      values["file"] = name_.filePart;
    } else if (!mainFile_.empty() && !HoldsToken(mainFile_, {{"file", ""}})) {
      values["file"] = mainName.substr(
          0, mainName.size() - ExtensionPart(mainName, services_.separators).size());
    }
    const bool fillContents = services_.settings.ReadFlag(kFillSection, projectName_, false);
    const TreeFill fill =
        FillTokensInTree(copyPath, values, fillContents, services_.shell, services_.separators);
    if (fill.failure.empty() && HoldsToken(mainFile_, values) &&
        std::find(fill.refused.begin(), fill.refused.end(), mainFile_) == fill.refused.end()) {
      mainFile_ = FillTokens(mainFile_, values);
    }
    refusedNames_ = fill.refused;
    return fill.failure;
  }

  void Open(const std::string& path) {
    if (autoOpen_) services_.shell.ShellOpen(request_.owner, "open", path, ShowCommand::kShow);
  }

  // Renames an entry inside the copy at `copy`; returns the name it has afterwards.
  std::string RenameInCopy(const std::string& copy, const std::string& from,
                           const std::string& to) {
    const std::error_code error = services_.shell.RenamePath(In(copy, from), In(copy, to));
    if (!error) return to;
    if (error == std::errc::file_exists) {
      problems_.push_back(Quoted(to) + " already exists in the project.");
    } else {
      problems_.push_back(Quoted(from) + " could not be renamed to " + Quoted(to) + ": " +
                          SystemErrorText(error) + ".");
    }
    return from;
  }

  // Refuses names that would leave the launcher's folder or cannot be file names; the user is
  // told once the copy is done.
  bool Acceptable(const std::vector<std::string>& names) {
    for (const auto& name : names) {
      if (const auto problem = FileNameProblem(name, services_.separators)) {
        nameProblem_ = "The name " + Quoted(name) + " cannot be used: " + *problem + ".";
        return false;
      }
    }
    return true;
  }

  // Nothing is opened unless the copy arrived: the names would otherwise act on whatever of the
  // user's stands there. The main file was renamed inside the copy; a folder name that was taken
  // by the time the copy was moved into place is reported.
  void Report(const std::optional<std::string>& arrived) {
    if (name_.form == NameForm::kFileOnly && mainFile_.empty()) {
      Say("No main file info ");
      return;
    }
    if (!arrived) return;
    folder_ = *arrived;
    if (!refusedNames_.empty()) {
      std::string text =
          "These names were left as they are, since filled in they would be empty, "
          "not a file name, or another entry's name:";
      for (const auto& name : refusedNames_) text.append("\n").append(name);
      Say(text);
    }
    if (nameProblem_) {
      Say(*nameProblem_);
      return;
    }
    if (name_.form != NameForm::kPlainName && name_.form != NameForm::kUnrecognised) {
      Open(In(folder_, mainFile_));
    }
    if (!problems_.empty()) SayProblems();
  }

  void ReportFolderName(const std::error_code& error) {
    if (error == std::errc::file_exists) {
      problems_.push_back(Quoted(name_.folderPart) + " already exists here.");
    } else {
      problems_.push_back("The project folder could not be named " + Quoted(name_.folderPart) +
                          ": " + SystemErrorText(error) + ".");
    }
  }

  void SayProblems() const {
    std::string text;
    for (const auto& problem : problems_) text.append(problem).append(" ");
    // A script's project is made as asked or not at all.
    Say(text + (script_ ? std::string("Nothing was made.")
                        : "The new project is in " +
                              Quoted(FileNamePart(folder_, services_.separators)) + "."));
  }

  // Deleted only when it holds nothing a user could have written.
  void RemoveLauncher(const std::string& launcher) {
    const std::string name = Quoted(FileNamePart(launcher, services_.separators));
    const FileRead start = ReadFileStart(launcher, kLauncherLimit + 1);
    if (start.failure) {
      Say(name + " was kept because it could not be read.\n" + SystemErrorText(start.failure));
    } else if (start.bytes.size() > kLauncherLimit ||
               start.bytes.find_first_not_of(kLauncherBlanks) != std::string::npos) {
      Say(name + " was kept because it holds data.");
    } else {
      static_cast<void>(services_.shell.RemoveFile(launcher));  // a launcher left is harmless
    }
  }

  const CreationRequest& request_;
  const CreationServices& services_;
  std::string launcherFolder_;
  std::string projectName_;
  EnteredName name_;
  bool renameFolder_ = false;
  bool renameFile_ = false;
  std::optional<std::string> nameProblem_;
  std::vector<std::string> refusedNames_;
  std::string mainFile_;
  std::string folder_;  // where the project folder is now
  std::vector<std::string> problems_;
  bool autoOpen_ = false;
  bool script_ = false;
  bool abandoned_ = false;  // a script's copy was given up before it appeared
};

}  // namespace

std::optional<std::string> CreateProjectForScript(const ScriptRequest& request,
                                                  const CreationServices& services) {
  const CreationRequest creation{
      .appDir = request.appDir, .typedName = request.typedName, .autoOpenChecked = request.open};
  return Sequence(creation, services).RunForScript(request);
}

std::string CreateProject(const CreationRequest& request, const CreationServices& services) {
  return Sequence(request, services).Run();
}

}  // namespace trelik
