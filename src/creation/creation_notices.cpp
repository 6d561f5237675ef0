#include "creation/creation_notices.h"

#include <array>
#include <utility>

#include "common/notice.h"
#include "common/system_error.h"
#include "library/library_folder.h"

namespace trelik {
namespace {

// The address that the copy-failure message asks users to write to.
constexpr const char* kSupportAddress = "support@trelik.example";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What the user can do next after each notice; the launcher's fate is said after it, except
// where the notice is about the launcher itself.
struct NextStep {
  const char* next;
  bool saysFate;
};

constexpr std::array<std::pair<CreationNotice, NextStep>, 15> kNextSteps = {{
    {CreationNotice::kLauncherBusy, {"Finish the project in that window.", true}},
    {CreationNotice::kLauncherUnreachable,
     {"Check that its folder can be opened, then try again.", true}},
    {CreationNotice::kLauncherMissing,
     {"Make a new launcher from the file manager's New menu.", false}},
    {CreationNotice::kSettingsUnreadable,
     {"Make the file readable, or move it away to start without recorded main files.", true}},
    {CreationNotice::kMainFileNotPlain,
     {"Choose the main file again in the editor (Options); this project is made without one.",
      true}},
    {CreationNotice::kCopyCancelled, {"Nothing was made.", true}},
    {CreationNotice::kCopyFailed,
     {"Nothing was made: check that the template's folder can be read and that there is room "
      "here.",
      true}},
    {CreationNotice::kNoMainFileInfo,
     {"Choose the main file in the editor (Options) to have it renamed and opened.", true}},
    {CreationNotice::kNamesLeft, {"Rename them by hand where needed.", true}},
    {CreationNotice::kNameUnusable,
     {"The project keeps the template's names: rename it by hand, or type another name next "
      "time.",
      true}},
    {CreationNotice::kRenameFailed, {"Rename it by hand where needed.", true}},
    {CreationNotice::kMainFileNotOpened, {"Open it from the project's folder.", true}},
    {CreationNotice::kLauncherHoldsData,
     {"It is not an empty launcher: delete it yourself when you no longer need it.", false}},
    {CreationNotice::kLauncherUnreadable,
     {"Delete it yourself when you no longer need it.", false}},
    {CreationNotice::kLibraryMissing, {kConnectTheLibrary, true}},
}};

const char* FateText(LauncherFate fate) {
  return fate == LauncherFate::kKept ? " The launcher was kept, so you can open it again."
                                     : " The launcher is removed.";
}

}  // namespace

std::string Told(CreationNotice kind, const std::string& notice, LauncherFate fate) {
  if (fate == LauncherFate::kNone) return notice;
  for (const auto& [known, step] : kNextSteps) {
    if (known != kind) continue;
    return WithNextStep(notice, std::string(step.next) + (step.saysFate ? FateText(fate) : ""));
  }
  return notice;
}

std::string LauncherBusyText(const std::string& launcher) {
  return "Another window is already creating a project from " + Quoted(launcher) +
         ", so none was created here.";
}

std::string MissingLauncherText(const std::string& launcher, const std::error_code& openError) {
  if (!openError || NamesNothing(openError)) {
    return "The launcher " + Quoted(launcher) + " does not exist, so no project was created.";
  }
  return "The launcher " + Quoted(launcher) + " cannot be reached (" + SystemErrorText(openError) +
         "), so no project was created.";
}

std::string UnreadableSettingsText(const std::string& path, const std::string& problem) {
  return "The settings file " + Quoted(path) + " cannot be read (" + problem +
         "), so no project was created.";
}

std::string CopyCancelledText() { return "The copy was cancelled: nothing was created."; }

std::string CopyFailureText(const std::string& cause) {
  std::string text = std::string("Error Happened,report to ") + kSupportAddress + " Please !";
  if (!cause.empty()) text.append("\n").append(cause);
  return text;
}

std::string NoMainFileInfoText() { return "No main file info "; }

std::string RefusedNamesText(const std::vector<std::string>& names) {
  std::string text =
      "These names were left as they are, since filled in they would be empty, not a file name, "
      "or another entry's name:";
  for (const auto& name : names) text.append("\n").append(name);
  return text;
}

std::string FolderNameProblem(const std::string& wanted, const std::error_code& error) {
  if (error == std::errc::file_exists) return Quoted(wanted) + " already exists here.";
  return "The project folder could not be named " + Quoted(wanted) + ": " + SystemErrorText(error) +
         ".";
}

std::string RenameProblem(const std::string& from, const std::string& to,
                          const std::error_code& error) {
  if (error == std::errc::file_exists) return Quoted(to) + " already exists in the project.";
  return Quoted(from) + " could not be renamed to " + Quoted(to) + ": " + SystemErrorText(error) +
         ".";
}

std::string ProblemsText(const std::vector<std::string>& problems, const std::string& outcome) {
  std::string text;
  for (const auto& problem : problems) text.append(problem).append(" ");
  return text + outcome;
}

std::string MainFileNotOpenedText(const std::string& path, const std::error_code& error) {
  return "The main file " + Quoted(path) + " cannot be opened: " + SystemErrorText(error) + ".";
}

std::string LauncherHoldsDataText(const std::string& name) {
  return Quoted(name) + " was kept because it holds data.";
}

std::string LauncherUnreadableText(const std::string& name, const std::error_code& error) {
  return Quoted(name) + " was kept because it could not be read.\n" + SystemErrorText(error);
}

}  // namespace trelik
