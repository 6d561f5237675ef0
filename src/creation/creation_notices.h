#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace trelik {

// What the user is told while a project is made, all in one place. The first line of each is
// what happened; the window adds, through Told, what the user can do next and what became of
// the launcher.

// What becomes of the launcher a notice is given for; a script has none.
enum class LauncherFate { kNone, kKept, kRemoved };

enum class CreationNotice {
  kLauncherBusy,
  kLauncherUnreachable,
  kLauncherMissing,
  kSettingsUnreadable,
  kMainFileNotPlain,
  kCopyCancelled,
  kCopyFailed,
  kNoMainFileInfo,
  kNamesLeft,
  kNameUnusable,
  kRenameFailed,
  kMainFileNotOpened,
  kLauncherHoldsData,
  kLauncherUnreadable,
  kLibraryMissing,
};

// `notice` with its second line: what the user can do next and what became of the launcher.
// A script's notices are its error output, a line each, and stay as they are.
std::string Told(CreationNotice kind, const std::string& notice, LauncherFate fate);

std::string LauncherBusyText(const std::string& launcher);
// Not every launcher that cannot be found is missing: its folder may be out of reach.
std::string MissingLauncherText(const std::string& launcher, const std::error_code& openError);
std::string UnreadableSettingsText(const std::string& path, const std::string& problem);
std::string CopyCancelledText();
// "Error Happened,report to <support address> Please !", then the cause when there is one.
std::string CopyFailureText(const std::string& cause);
std::string NoMainFileInfoText();
std::string RefusedNamesText(const std::vector<std::string>& names);
std::string FolderNameProblem(const std::string& wanted, const std::error_code& error);
std::string RenameProblem(const std::string& from, const std::string& to,
                          const std::error_code& error);
std::string ProblemsText(const std::vector<std::string>& problems, const std::string& outcome);
std::string MainFileNotOpenedText(const std::string& path, const std::error_code& error);
std::string LauncherHoldsDataText(const std::string& name);
std::string LauncherUnreadableText(const std::string& name, const std::error_code& error);

}  // namespace trelik
