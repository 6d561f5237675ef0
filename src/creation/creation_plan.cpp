#include "creation/creation_plan.h"

#include "common/blank.h"
#include "common/file_name_rules.h"
#include "shell/copy_name.h"

namespace trelik {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The first of `names` that would leave the destination or cannot be a file name, and why.
std::optional<UnusableName> Unusable(const std::vector<std::string>& names,
                                     const PathSeparators& separators) {
  for (const auto& name : names) {
    if (const auto problem = FileNameProblem(name, separators)) return UnusableName{name, *problem};
  }
  return std::nullopt;
}

std::string UnusableText(const UnusableName& unusable) {
  return Quoted(unusable.name) + " cannot be used: " + unusable.reason;
}

// Why a script's project cannot be made as asked; the window makes it all the same.
std::optional<std::string> Refusal(const CreationPlan& plan, const PlanInput& input) {
  if (plan.nameProblem) return plan.nameProblem;
  if (plan.missingMainFile) {
    return "No main file is recorded for " + Quoted(plan.templateName) + ", so none can be named " +
           Quoted(plan.name.filePart) + ".";
  }
  if (!plan.wantedFolder.empty() && input.isTaken(plan.wantedFolder)) {
    return Quoted(input.destination + plan.wantedFolder) + " already exists.";
  }
  return std::nullopt;
}

}  // namespace

CreationPlan PlanCreation(const PlanInput& input) {
  CreationPlan plan{.templateName = input.templateName,
                    .destination = input.destination,
                    .typedName = input.typedName,
                    .name = ClassifyEnteredName(input.typedName),
                    .mainFile = input.recordedMainFile,
                    .fill = input.fill,
                    .allOrNothing = input.allOrNothing};
  const EnteredName& name = plan.name;
  // A hand-edited or damaged settings file may name a path; acting on it would move or open a
  // file of the user's outside the copy.
  if (!plan.mainFile.empty() && FileNameProblem(plan.mainFile, input.separators)) {
    plan.notices.push_back("The main file recorded for " + Quoted(input.templateName) + " (" +
                           Quoted(plan.mainFile) +
                           ") is not a plain name inside the template, so none is used.");
    plan.mainFile.clear();
    plan.mainFileUnusable = true;
  }
  bool renameFolder = false;
  bool renameFile = false;
  switch (name.form) {
    case NameForm::kFolderAndFile:
      plan.unusable = Unusable({name.folderPart, name.filePart}, input.separators);
      renameFolder = !plan.unusable;
      renameFile = renameFolder && !plan.mainFile.empty();
      break;
    case NameForm::kFolderOnly:
      plan.unusable = Unusable({name.folderPart}, input.separators);
      renameFolder = !plan.unusable;
      break;
    case NameForm::kFileOnly:
      plan.missingMainFile = plan.mainFile.empty();
      if (!plan.missingMainFile) plan.unusable = Unusable({name.filePart}, input.separators);
      renameFile = !plan.missingMainFile && !plan.unusable;
      break;
    default:
      break;
  }
  if (plan.unusable) plan.nameProblem = "The name " + UnusableText(*plan.unusable) + ".";
  if (renameFolder) plan.wantedFolder = name.folderPart;
  if (renameFile) plan.fileStem = name.filePart;
  plan.newMainFile =
      renameFile ? name.filePart + ExtensionPart(plan.mainFile, input.separators) : plan.mainFile;
  // A typed file part names the main file even where the template records none.
  if (renameFile || (renameFolder && name.form == NameForm::kFolderAndFile)) {
    plan.fileToken = name.filePart;
  }
  plan.arrivalName = ArrivalName(input.templateName, plan.wantedFolder, input.isTaken);
  const bool renames = name.form != NameForm::kPlainName && name.form != NameForm::kUnrecognised;
  plan.open = input.autoOpenChecked && !plan.mainFile.empty() && renames && !plan.nameProblem;
  if (input.allOrNothing) {
    plan.refusal = Refusal(plan, input);
    plan.open = plan.open && !plan.refusal;
    if (!plan.refusal && !renames) {
      plan.notices.push_back("The name " + Quoted(input.typedName) +
                             " renames nothing: FOLDER\\FILE names both, FOLDER\\ the folder, "
                             "\\FILE the main file.");
    }
  }
  return plan;
}

std::string DescribePlan(const CreationPlan& plan, const PathSeparators& separators) {
  const EnteredName& name = plan.name;
  if (plan.unusable) return UnusableText(*plan.unusable);
  if (!name.filePart.empty() && plan.fileStem.empty()) {
    const std::string cause =
        plan.mainFileUnusable
            ? "The main file recorded for " + Quoted(plan.templateName) + " is not a plain name"
            : "No main file is recorded for " + Quoted(plan.templateName);
    return cause + ", so " + Quoted(name.filePart) + " is not used";
  }
  const std::string separator(1, separators.joiner);
  if (name.form == NameForm::kPlainName) {
    const std::string typed(TrimBlanksLeft(TrimBlanksRight(plan.typedName)));
    // Told to add a separator, the user would only meet the name's own problem next.
    if (const auto problem = FileNameProblem(typed, separators)) {
      return UnusableText({typed, *problem});
    }
    return "A plain name renames nothing: type " + Quoted(typed + separator) +
           " to name the folder, " + Quoted(separator + typed) + " the main file";
  }
  if (name.form == NameForm::kUnrecognised) {
    return "This name renames nothing: type " + Quoted("Folder" + separator + "File") + ", " +
           Quoted("Folder" + separator) + " or " + Quoted(separator + "File");
  }
  if (!plan.wantedFolder.empty() && plan.arrivalName != plan.wantedFolder) {
    return "Makes " + Quoted(plan.arrivalName) + ": " + Quoted(plan.wantedFolder) +
           " already exists here";
  }
  std::string text = "Makes the folder " + Quoted(plan.arrivalName);
  if (!plan.newMainFile.empty()) text += " with " + Quoted(plan.newMainFile);
  const std::string where = LastComponent(plan.destination, separators);
  return text + ", in " + (where.empty() ? plan.destination : where);
}

}  // namespace trelik
