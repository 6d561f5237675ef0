#include "creation/project_creation.h"

#include <vector>

#include "common/file_name_rules.h"
#include "common/system_error.h"
#include "creation/entered_name.h"
#include "creation/launcher_name.h"
#include "library/file_access.h"

namespace trelik {
namespace {

// A launcher made by a New menu is empty (Windows) or holds one line end (our Linux templates);
// anything longer, or holding more than blanks, is a file of the user's opened by mistake.
constexpr std::size_t kLauncherLimit = 16;
constexpr std::string_view kLauncherBlanks = " \t\r\n";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

class Sequence {
 public:
  Sequence(const CreationRequest& request, const CreationServices& services)
      : request_(request), services_(services) {}

  std::string Run() {
    const std::string launcher = AbsolutePath(request_.launcherPath);
    const std::string projectName = ExtractProjectName(launcher, services_.separators);
    if (projectName.empty()) return projectName;
    // Only a command line can name a launcher that is not there; its folders are not made.
    if (!services_.shell.IsExistingFile(launcher)) {
      Say("The launcher " + Quoted(launcher) + " does not exist, so no project was created.");
      return projectName;
    }

    launcherFolder_ = DirectoryPart(launcher, services_.separators);
    const std::string templateFolder = request_.appDir + "projects" + Separator() + projectName;
    const CopyResult copy =
        services_.shell.CopyFolder(request_.owner, templateFolder, launcherFolder_);
    if (!copy.arrivedAt) ReportCopyFailure(projectName, templateFolder, copy.failure);
    mainFile_ = RecordedMainFile(projectName);
    autoOpen_ = request_.autoOpenChecked && !mainFile_.empty();
    const EnteredName name = ClassifyEnteredName(request_.typedName);
    Rename(name, copy.arrivedAt);
    // After a failed copy the launcher stays, so that the user can try again.
    if (copy.arrivedAt) RemoveLauncher(launcher);
    return projectName;
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
    // A folder lists at least "." and ".."; nothing at all means there is no such template.
    const bool missing = services_.shell.ListFolder(In(templateFolder, "*.*")).empty() &&
                         !services_.shell.IsExistingFile(templateFolder);
    const std::string cause =
        missing ? "Template " + Quoted(projectName) + " is not in the library" : failure;
    if (!cause.empty()) text.append("\n").append(cause);
    Say(text);
  }

  // A hand-edited or damaged settings file may name a path; acting on it would move or open a
  // file of the user's outside the copy.
  std::string RecordedMainFile(const std::string& projectName) const {
    std::string mainFile = services_.settings.ReadText("mainfile", projectName, "");
    if (mainFile.empty() || !FileNameProblem(mainFile, services_.separators)) return mainFile;
    Say("The main file recorded for " + Quoted(projectName) + " (" + Quoted(mainFile) +
        ") is not a plain name inside the template, so none is used.");
    return {};
  }

  void Open(const std::string& path) {
    if (autoOpen_) services_.shell.ShellOpen(request_.owner, "open", path, ShowCommand::kShow);
  }

  // Renames an entry inside the copy; returns the name it has afterwards.
  std::string RenameInCopy(const std::string& from, const std::string& to) {
    const std::error_code error = services_.shell.RenamePath(In(folder_, from), In(folder_, to));
    if (!error) return to;
    if (error == std::errc::file_exists) {
      problems_.push_back(Quoted(to) + " already exists in the project.");
    } else {
      problems_.push_back(Quoted(from) + " could not be renamed to " + Quoted(to) + ": " +
                          SystemErrorText(error) + ".");
    }
    return from;
  }

  void RenameCopy(const std::string& newName) {
    const std::string target = launcherFolder_ + newName;
    const std::error_code error = services_.shell.RenamePath(folder_, target);
    if (!error) {
      folder_ = target;
    } else if (error == std::errc::file_exists) {
      problems_.push_back(Quoted(newName) + " already exists here.");
    } else {
      problems_.push_back("The project folder could not be named " + Quoted(newName) + ": " +
                          SystemErrorText(error) + ".");
    }
  }

  // Refuses names that would leave the launcher's folder or cannot be file names.
  bool Acceptable(const std::vector<std::string>& names) {
    for (const auto& name : names) {
      if (const auto problem = FileNameProblem(name, services_.separators)) {
        Say("The name " + Quoted(name) + " cannot be used: " + *problem + ".");
        return false;
      }
    }
    return true;
  }

  // Nothing is renamed or opened unless the copy arrived: the names would otherwise act on
  // whatever of the user's stands there. Every rename's result decides the names used after it.
  void Rename(const EnteredName& name, const std::optional<std::string>& arrived) {
    if (name.form == NameForm::kFileOnly && mainFile_.empty()) {
      Say("No main file info ");
      return;
    }
    if (!arrived) return;
    folder_ = *arrived;
    const std::string newFile = name.filePart + MainExtension();
    switch (name.form) {
      case NameForm::kNoName:
        Open(In(folder_, mainFile_));
        break;
      case NameForm::kFolderAndFile: {
        if (!Acceptable({name.folderPart, name.filePart})) break;
        const std::string file = mainFile_.empty() ? mainFile_ : RenameInCopy(mainFile_, newFile);
        RenameCopy(name.folderPart);
        Open(In(folder_, file));
        break;
      }
      case NameForm::kFolderOnly:
        if (!Acceptable({name.folderPart})) break;
        RenameCopy(name.folderPart);
        Open(In(folder_, mainFile_));
        break;
      case NameForm::kFileOnly:
        if (!Acceptable({name.filePart})) break;
        Open(In(folder_, RenameInCopy(mainFile_, newFile)));
        break;
      case NameForm::kPlainName:
      case NameForm::kUnrecognised:
        break;
    }
    if (problems_.empty()) return;
    std::string text;
    for (const auto& problem : problems_) text.append(problem).append(" ");
    Say(text + "The new project is in " + Quoted(FileNamePart(folder_, services_.separators)) +
        ".");
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
  std::string mainFile_;
  std::string folder_;  // where the project folder is now
  std::vector<std::string> problems_;
  bool autoOpen_ = false;
};

}  // namespace

std::string CreateProject(const CreationRequest& request, const CreationServices& services) {
  return Sequence(request, services).Run();
}

}  // namespace trelik
