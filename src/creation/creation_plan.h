#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/path_parts.h"
#include "creation/entered_name.h"

namespace trelik {

// What a creation is planned from; the plan reads nothing of the disk itself.
struct PlanInput {
  std::string templateName;
  std::string typedName;
  std::string recordedMainFile;  // as the settings hold it; empty when none is recorded
  bool fill = false;             // the settings' choice to fill tokens inside files
  bool autoOpenChecked = false;
  // A script's project is made as asked or not at all, and the script is told when a name
  // renames nothing; the window makes the copy whatever the name, as it always has.
  bool allOrNothing = false;
  std::string destination;  // the folder the project goes into, ending in its separator
  // Whether a name is taken in `destination`; a listing of it will do.
  std::function<bool(const std::string&)> isTaken;
  PathSeparators separators = PlatformSeparators();
};

// A typed name that cannot be used, and why.
struct UnusableName {
  std::string name;
  std::string reason;
};

// What a creation will do, before anything is copied.
struct CreationPlan {
  std::string templateName;
  std::string destination;  // the folder the project goes into, ending in its separator
  std::string typedName;
  EnteredName name;
  std::string mainFile;  // the recorded main file; empty when none is, or it cannot be used
  bool mainFileUnusable = false;  // one is recorded, but it is not a plain name
  std::string wantedFolder;       // the name asked for the project's folder; empty: the template's
  std::string fileStem;           // the main file's new name before its extension; empty: no rename
  std::string newMainFile;        // the main file's name once renamed (its tokens as recorded)
  std::optional<std::string> fileToken;  // what the typed name says {{trelik.file}} is
  std::string arrivalName;  // the folder's expected name: the wanted one when free, else a copy's
  bool fill = false;
  bool allOrNothing = false;
  bool open = false;  // the main file is opened once the project is there
  // The typed name asks for a main file's new name, and the template records none.
  bool missingMainFile = false;
  std::optional<UnusableName> unusable;    // a typed name that cannot be used
  std::optional<std::string> nameProblem;  // what the user is told of it
  std::vector<std::string> notices;        // said before the copy
  std::optional<std::string> refusal;      // why nothing is made at all
};

CreationPlan PlanCreation(const PlanInput& input);

// What Create will make, in one line the window shows while the user types: the folder and main
// file with where they go, or why the typed name is not used as it stands.
std::string DescribePlan(const CreationPlan& plan, const PathSeparators& separators);

}  // namespace trelik
