#include "creation/project_creation.h"

#include <optional>
#include <vector>

#include "creation/entered_name.h"
#include "common/file_name_rules.h"
#include "creation/launcher_name.h"
#include "library/file_access.h"

namespace trelik {
namespace {

class Sequence {
 public:
  Sequence(const CreationRequest& request, const CreationServices& services)
      : request_(request), services_(services) {}

  std::string Run() {
    const std::string launcher = AbsolutePath(request_.launcherPath);
    const std::string projectName = ExtractProjectName(launcher, services_.separators);
    if (projectName.empty()) return projectName;

    launcherFolder_ = DirectoryPart(launcher, services_.separators);
    const std::string templateFolder = request_.appDir + "projects" + Separator() + projectName;
    const std::optional<std::string> copy =
        services_.shell.CopyFolder(request_.owner, templateFolder, launcherFolder_);
    if (!copy) {
      services_.showMessage(std::string("Error Happened,report to ") + kSupportAddress +
                            " Please !");
    }
    mainFile_ = services_.settings.ReadText("mainfile", projectName, "");
    autoOpen_ = request_.autoOpenChecked && !mainFile_.empty();
    const EnteredName name = ClassifyEnteredName(request_.typedName);
    Rename(name, copy);
    static_cast<void>(services_.shell.RemoveFile(launcher));  // a launcher left over is harmless
    return projectName;
  }

 private:
  std::string Separator() const { return std::string(1, services_.separators.joiner); }
  std::string In(const std::string& folder, const std::string& name) const {
    return folder + Separator() + name;
  }
  std::string MainExtension() const { return ExtensionPart(mainFile_, services_.separators); }

  void Open(const std::string& path) {
    if (autoOpen_) services_.shell.ShellOpen(request_.owner, "open", path, ShowCommand::kShow);
  }

  // A failed rename keeps the old name and goes unreported, as the user can still rename it.
  void RenameQuietly(const std::string& from, const std::string& to) {
    static_cast<void>(services_.shell.RenamePath(from, to));
  }

  // Refuses names that would leave the launcher's folder or cannot be file names.
  bool Acceptable(const std::vector<std::string>& names) {
    for (const auto& name : names) {
      if (const auto problem = FileNameProblem(name, services_.separators)) {
        services_.showMessage("The name \"" + name + "\" cannot be used: " + *problem + ".");
        return false;
      }
    }
    return true;
  }

  // Nothing is renamed or opened unless the copy arrived: the names would otherwise act on
  // whatever of the user's stands there.
  void Rename(const EnteredName& name, const std::optional<std::string>& arrived) {
    if (name.form == NameForm::kFileOnly && mainFile_.empty()) {
      services_.showMessage("No main file info ");
      return;
    }
    if (!arrived) return;
    const std::string& copy = *arrived;
    const std::string newFile = name.filePart + MainExtension();
    switch (name.form) {
      case NameForm::kNoName:
        Open(In(copy, mainFile_));
        break;
      case NameForm::kFolderAndFile: {
        if (!Acceptable({name.folderPart, name.filePart})) break;
        if (!mainFile_.empty()) RenameQuietly(In(copy, mainFile_), In(copy, newFile));
        const std::string folder = launcherFolder_ + name.folderPart;
        RenameQuietly(copy, folder);
        Open(In(folder, newFile));
        break;
      }
      case NameForm::kFolderOnly: {
        if (!Acceptable({name.folderPart})) break;
        const std::string folder = launcherFolder_ + name.folderPart;
        RenameQuietly(copy, folder);
        Open(In(folder, mainFile_));
        break;
      }
      case NameForm::kFileOnly:
        if (!Acceptable({name.filePart})) break;
        RenameQuietly(In(copy, mainFile_), In(copy, newFile));
        Open(In(copy, newFile));
        break;
      case NameForm::kPlainName:
      case NameForm::kUnrecognised:
        break;
    }
  }

  const CreationRequest& request_;
  const CreationServices& services_;
  std::string launcherFolder_;
  std::string mainFile_;
  bool autoOpen_ = false;
};

}  // namespace

std::string CreateProject(const CreationRequest& request, const CreationServices& services) {
  return Sequence(request, services).Run();
}

}  // namespace trelik
